#pragma once
// Builds linked GLSL programs from pairs of source files. Holds nothing: the
// program it builds belongs to the GlProgram it hands back.
#include <GL/glew.h>

#include <string>
#include <vector>

#include "render/GlProgram.h"

class ShaderManager {
 public:
  // Throws std::runtime_error ("SHADERMANAGER: ...") when the driver lacks
  // GL_ARB_shading_language_420pack, which the shaders need to tie their
  // samplers to texture units. Call once, right after GLEW is initialised.
  static void requireShaderExtensions();

  // Compiles both files and links them; throws std::runtime_error with the
  // compiler's or the linker's log. Both shader objects are flagged for deletion.
  GlProgram createProgram(std::string vertexPath, std::string fragmentPath);
  // Every line of the file followed by "\n"; empty text (and a line on
  // standard error) when the file cannot be opened.
  static void readShaderFile(const std::string& path, std::string& text);

 private:
  GLuint compileShader(GLenum type, const std::string& path);
  GLuint linkProgram(const std::vector<GLuint>& shaders);
};
