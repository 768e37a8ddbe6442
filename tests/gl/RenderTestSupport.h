#pragma once
// Helpers for the rendering tests: the game's six programs, an off-screen
// framebuffer to read pixels back, generated images and a scratch folder.
#include <FreeImage.h>
#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "render/GlFramebuffer.h"
#include "render/GlRenderbuffer.h"
#include "render/GlTexture.h"
#include "render/ShaderManager.h"

namespace rendertest {

inline std::string shaderFile(const std::string& name) { return std::string(SOURCE_DIR) + "/game/shaders/" + name; }

struct Programs {
  GLuint lighting = 0, shadow = 0, texture = 0, color = 0, text = 0, shadowTest = 0;
};

// The six programs in the game's order, from the shipped shader files; their
// owners stay in owners.
inline Programs buildPrograms(std::vector<GlProgram>& owners) {
  ShaderManager shaders;
  const auto build = [&](const char* name) {
    owners.push_back(shaders.createProgram(shaderFile(std::string(name) + ".vert"), shaderFile(std::string(name) + ".frag")));
    return owners.back().name();
  };
  Programs p;
  p.lighting = build("lighting");
  p.shadow = build("shadow");
  p.texture = build("texture");
  p.color = build("color");
  p.text = build("text");
  p.shadowTest = build("shadowTest");
  return p;
}

// Built once per test process; programs live until it ends, as in the game.
inline const Programs& programs() {
  static std::vector<GlProgram> owners;
  static const Programs built = buildPrograms(owners);
  return built;
}

using Rgba = std::array<std::uint8_t, 4>;

// An RGBA8 + depth framebuffer of its own, so read-backs do not depend on the
// hidden window's default framebuffer.
class OffscreenTarget {
 public:
  OffscreenTarget(int w, int h)
      : width(w),
        height(h),
        framebuffer(GlFramebuffer::create()),
        colour(GlRenderbuffer::create(GL_RGBA8, w, h)),
        depth(GlRenderbuffer::create(GL_DEPTH_COMPONENT24, w, h)) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.name());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, colour.name());
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, depth.name());
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
      throw std::runtime_error("test framebuffer incomplete");
    }
    glViewport(0, 0, w, h);
  }
  ~OffscreenTarget() { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

  void clear(float r, float g, float b) const {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.name());
    glViewport(0, 0, width, height);
    glClearColor(r, g, b, 1.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  }
  // Pixel (x, y), origin at the bottom left.
  Rgba pixel(int x, int y) const {
    Rgba rgba{};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer.name());
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
  }
  // Writes the colour buffer to a PNG file.
  void savePng(const std::string& path) const {
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(width * height * 4));
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer.name());
    glReadPixels(0, 0, width, height, GL_BGRA, GL_UNSIGNED_BYTE, pixels.data());
    FIBITMAP* image = FreeImage_ConvertFromRawBits(pixels.data(), width, height, width * 4, 32, FI_RGBA_RED_MASK,
                                                   FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK, FALSE);
    FreeImage_Save(FIF_PNG, image, path.c_str(), 0);
    FreeImage_Unload(image);
  }

  const int width, height;

 private:
  GlFramebuffer framebuffer;
  GlRenderbuffer colour;
  GlRenderbuffer depth;
};

// Four 1x1 depth-compare textures at depth 1 on units 1 to 4: every fragment
// in front of the far plane counts as lit by every light.
class LitShadowMaps {
 public:
  LitShadowMaps() {
    const float farDepth = 1.0f;
    for (std::size_t k = 0; k < maps.size(); ++k) {
      maps[k] = GlTexture::create();
      glActiveTexture(GL_TEXTURE1 + static_cast<GLenum>(k));
      glBindTexture(GL_TEXTURE_2D, maps[k].name());
      glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, 1, 1, 0, GL_DEPTH_COMPONENT, GL_FLOAT, &farDepth);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE, GL_COMPARE_REF_TO_TEXTURE);
      glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC, GL_LESS);
    }
    glActiveTexture(GL_TEXTURE0);
  }

 private:
  std::array<GlTexture, 4> maps;
};

// A fresh folder under the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "render-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root = pattern;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
  }
  std::string file(const std::string& name) const { return (root / name).string(); }
  std::string write(const std::string& name, const std::string& content) const {
    std::ofstream out(file(name), std::ios::binary);
    out << content;
    return file(name);
  }

 private:
  std::filesystem::path root;
};

// Saves a w x h image; colour(x, y) gives RGBA with y = 0 the bottom row.
inline void writeImage(const std::string& path, int w, int h, const std::function<Rgba(int, int)>& colour,
                       FREE_IMAGE_FORMAT format = FIF_PNG) {
  FIBITMAP* image = FreeImage_Allocate(w, h, 32);
  for (int y = 0; y < h; ++y) {
    BYTE* row = FreeImage_GetScanLine(image, y);
    for (int x = 0; x < w; ++x) {
      const Rgba c = colour(x, y);
      row[x * 4 + FI_RGBA_RED] = c[0];
      row[x * 4 + FI_RGBA_GREEN] = c[1];
      row[x * 4 + FI_RGBA_BLUE] = c[2];
      row[x * 4 + FI_RGBA_ALPHA] = c[3];
    }
  }
  FIBITMAP* saved = image;
  if (format != FIF_PNG) saved = FreeImage_ConvertTo24Bits(image);
  FreeImage_Save(format, saved, path.c_str(), 0);
  if (saved != image) FreeImage_Unload(saved);
  FreeImage_Unload(image);
}

inline void writeSolidImage(const std::string& path, Rgba c) {
  writeImage(path, 4, 4, [c](int, int) { return c; });
}

}  // namespace rendertest
