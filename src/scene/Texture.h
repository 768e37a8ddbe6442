#pragma once
// One 2D texture loaded from an image file (any format FreeImage reads),
// uploaded as RGBA8 with a full mipmap chain. Owns its OpenGL texture.
#include <GL/glew.h>

#include <cstdint>
#include <optional>
#include <string>

#include "render/GlTexture.h"

struct TextureFilters {
  GLint minFilter;
  GLint magFilter;
};

// Filters for the render switches' sampling mode (0 nearest, 1 linear) and
// mipmap mode (0 off, 1 nearest, 2 linear); with mipmapping on the mipmap
// mode alone decides. Empty for combinations that leave the filters as they are.
std::optional<TextureFilters> filtersForModes(std::uint32_t samplingMode, std::uint32_t mipmapMode);

class Texture {
 public:
  // Loads and uploads the image on texture unit 0; throws std::runtime_error
  // "PARSER: Image format unknown." or "PARSER: Could not load texture.",
  // after naming the file on the error stream.
  void load(const std::string& path);
  // Binds the texture to unit 0 and applies filtersForModes(); false, and no
  // OpenGL call, when the texture was never loaded.
  bool setFiltering(std::uint32_t samplingMode, std::uint32_t mipmapMode);

  bool isLoaded() const { return loaded; }
  GLuint getName() const { return name.name(); }

 private:
  GlTexture name;
  bool loaded = false;
};
