#pragma once
// Builds linked GLSL programs from pairs of source files. Short-lived: the
// programs it links outlive it; the caller keeps the names it hands back.
#include <GL/glew.h>

#include <string>
#include <vector>

class ShaderManager {
 public:
  // Throws std::runtime_error ("SHADERMANAGER: ...") when the driver lacks
  // GL_ARB_shading_language_420pack, which the shaders need to tie their
  // samplers to texture units. Call once, right after GLEW is initialised.
  static void requireShaderExtensions();

  // Compiles both files, links them and returns the program; throws the
  // compile or link error. Both shader objects are flagged for deletion.
  GLuint createProgram(std::string vertexPath, std::string fragmentPath);
  // Compiled shader name; throws std::runtime_error with the compiler's log.
  GLuint compileShader(GLenum type, const std::string& path);
  // Linked program name; throws std::runtime_error with the linker's log.
  GLuint linkProgram(const std::vector<GLuint>& shaders);
  // Every line of the file followed by "\n"; empty text (and a line on
  // standard error) when the file cannot be opened.
  static void readShaderFile(const std::string& path, std::string& text);

  const std::vector<GLuint>& getPrograms() const { return programs; }

 private:
  std::vector<GLuint> programs;
};
