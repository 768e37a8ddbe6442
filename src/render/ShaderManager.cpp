#include "render/ShaderManager.h"

#include <cstring>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace {

const char* typeWord(GLenum type) {
  switch (type) {
    case GL_FRAGMENT_SHADER: return "fragment";
    case GL_VERTEX_SHADER: return "vertex";
    case GL_GEOMETRY_SHADER: return "geometry";
    default: return "";
  }
}

bool hasExtension(const char* wanted) {
  GLint count = 0;
  glGetIntegerv(GL_NUM_EXTENSIONS, &count);
  for (GLint i = 0; i < count; ++i) {
    const auto* name = reinterpret_cast<const char*>(glGetStringi(GL_EXTENSIONS, static_cast<GLuint>(i)));
    if (name != nullptr && std::strcmp(name, wanted) == 0) return true;
  }
  return false;
}

}  // namespace

void ShaderManager::requireShaderExtensions() {
  if (!hasExtension("GL_ARB_shading_language_420pack")) {
    throw std::runtime_error(
        "SHADERMANAGER: The OpenGL driver lacks GL_ARB_shading_language_420pack, which the shaders "
        "need to bind their samplers to texture units.");
  }
}

GlProgram ShaderManager::createProgram(std::string vertexPath, std::string fragmentPath) {
  std::vector<GLuint> shaders;
  shaders.push_back(compileShader(GL_VERTEX_SHADER, vertexPath));
  GlProgram program;
  try {
    shaders.push_back(compileShader(GL_FRAGMENT_SHADER, fragmentPath));
    program = GlProgram::adopt(linkProgram(shaders));
  } catch (...) {
    // The error ends the run, but a caller that survives it should not keep
    // the compiled vertex shader alive.
    for (GLuint shader : shaders) glDeleteShader(shader);
    throw;
  }
  for (GLuint shader : shaders) glDeleteShader(shader);
  return program;
}

GLuint ShaderManager::compileShader(GLenum type, const std::string& path) {
  const GLuint shader = glCreateShader(type);
  std::string text;
  readShaderFile(path, text);
  const char* source = text.c_str();
  glShaderSource(shader, 1, &source, nullptr);
  glCompileShader(shader);

  GLint status = 0;
  glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
  if (status != 0) return shader;

  GLint length = 0;
  glGetShaderiv(shader, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
  glGetShaderInfoLog(shader, length, nullptr, log.data());
  glDeleteShader(shader);
  // The compiler's log names no file; the error stream does.
  std::cerr << "SHADERMANAGER: The shader file '" << path << "' does not compile." << std::endl;
  throw std::runtime_error(std::string("SHADERMANAGER: Compile failure in ") + typeWord(type) + " shader.\n" +
                           log.data() + ".");
}

GLuint ShaderManager::linkProgram(const std::vector<GLuint>& shaders) {
  const GLuint program = glCreateProgram();
  for (GLuint shader : shaders) glAttachShader(program, shader);
  glLinkProgram(program);

  GLint status = 0;
  glGetProgramiv(program, GL_LINK_STATUS, &status);
  if (status != 0) return program;

  GLint length = 0;
  glGetProgramiv(program, GL_INFO_LOG_LENGTH, &length);
  std::vector<char> log(static_cast<std::size_t>(length) + 1, '\0');
  glGetProgramInfoLog(program, length, nullptr, log.data());
  glDeleteProgram(program);
  throw std::runtime_error(std::string("SHADERMANAGER: Link failure in program.\n") + log.data() + ".");
}

void ShaderManager::readShaderFile(const std::string& path, std::string& text) {
  text.clear();
  std::ifstream file(path);
  if (!file.is_open()) {
    std::cerr << "Shader: Can't find the shader-file at " << path << std::endl;
    return;
  }
  std::string line;
  while (std::getline(file, line)) {
    text += line;
    text += "\n";
  }
}
