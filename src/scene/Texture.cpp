#include "scene/Texture.h"

#include <FreeImage.h>

#include <iostream>
#include <stdexcept>

namespace {

// The image as 32-bit BGRA pixels, bottom row first; the caller unloads it.
FIBITMAP* loadImage(const std::string& path) {
  FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path.c_str(), 0);
  if (format == FIF_UNKNOWN) format = FreeImage_GetFIFFromFilename(path.c_str());
  if (format == FIF_UNKNOWN) throw std::runtime_error("PARSER: Image format unknown.");
  if (!FreeImage_FIFSupportsReading(format)) throw std::runtime_error("PARSER: Could not load texture.");
  FIBITMAP* bitmap = FreeImage_Load(format, path.c_str(), 0);
  if (bitmap == nullptr) throw std::runtime_error("PARSER: Could not load texture.");
  FIBITMAP* converted = FreeImage_ConvertTo32Bits(bitmap);
  FreeImage_Unload(bitmap);
  if (converted == nullptr) throw std::runtime_error("PARSER: Could not load texture.");
  return converted;
}

}  // namespace

std::optional<TextureFilters> filtersForModes(std::uint32_t samplingMode, std::uint32_t mipmapMode) {
  switch (mipmapMode) {
    case 0:
      if (samplingMode == 0) return TextureFilters{GL_NEAREST, GL_NEAREST};
      if (samplingMode == 1) return TextureFilters{GL_LINEAR, GL_LINEAR};
      return std::nullopt;
    case 1: return TextureFilters{GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST};
    case 2: return TextureFilters{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR};
    default: return std::nullopt;
  }
}

void Texture::load(const std::string& path) {
  // The image is read before a texture name exists, so a failed load leaves
  // no OpenGL object behind.
  FIBITMAP* image = nullptr;
  try {
    image = loadImage(path);
  } catch (const std::runtime_error&) {
    // The messages do not say which file failed; the error stream does, so
    // that a modder knows which image to fix. The error still ends the run.
    std::cerr << "PARSER: The image '" << path << "' could not be loaded." << std::endl;
    throw;
  }
  name = GlTexture::create();
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name.name());
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  // FreeImage pads rows to 4 bytes; 32-bit pixels are never padded.
  glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, static_cast<GLsizei>(FreeImage_GetWidth(image)),
               static_cast<GLsizei>(FreeImage_GetHeight(image)), 0, GL_BGRA, GL_UNSIGNED_BYTE,
               FreeImage_GetBits(image));
  glGenerateMipmap(GL_TEXTURE_2D);
  glBindTexture(GL_TEXTURE_2D, 0);
  FreeImage_Unload(image);
  loaded = true;
}

bool Texture::setFiltering(std::uint32_t samplingMode, std::uint32_t mipmapMode) {
  if (!loaded) return false;
  glActiveTexture(GL_TEXTURE0);
  glBindTexture(GL_TEXTURE_2D, name.name());
  if (const std::optional<TextureFilters> filters = filtersForModes(samplingMode, mipmapMode)) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filters->minFilter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filters->magFilter);
  }
  return true;
}
