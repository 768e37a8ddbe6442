#include "render/Skybox.h"

#include <stdexcept>

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include "config/Config.h"
#include "render/GlProgram.h"

Skybox::Skybox(const std::string& front, const std::string& back, const std::string& left, const std::string& right,
               const std::string& top, const std::string& bottom) {
  const std::array<const std::string*, 6> paths = {&front, &back, &left, &right, &top, &bottom};
  for (std::size_t face = 0; face < textures.size(); ++face) textures[face].load(*paths[face]);
  const Config& config = Config::instance();
  const float x = config.getFloat("skybox.position.x");
  const float y = config.getFloat("skybox.position.y");
  const float z = config.getFloat("skybox.position.z");
  model = glm::translate(Mat4(1.0f), Vec3(x, y, z));
}

std::vector<float> Skybox::cubeVertices(float s) {
  return {
      // front (z = -s)
      -s, -s, -s, 0, 0, -1, 1, 0,  //
      s, -s, -s, 0, 0, -1, 0, 0,   //
      -s, s, -s, 0, 0, -1, 1, 1,   //
      s, s, -s, 0, 0, -1, 0, 1,    //
      // back (z = +s)
      s, -s, s, 0, 0, 1, 1, 0,   //
      -s, -s, s, 0, 0, 1, 0, 0,  //
      s, s, s, 0, 0, 1, 1, 1,    //
      -s, s, s, 0, 0, 1, 0, 1,   //
      // left (x = -s)
      -s, -s, s, 1, 0, 0, 1, 0,   //
      -s, -s, -s, 1, 0, 0, 0, 0,  //
      -s, s, s, 1, 0, 0, 1, 1,    //
      -s, s, -s, 1, 0, 0, 0, 1,   //
      // right (x = +s)
      s, -s, -s, -1, 0, 0, 1, 0,  //
      s, -s, s, -1, 0, 0, 0, 0,   //
      s, s, -s, -1, 0, 0, 1, 1,   //
      s, s, s, -1, 0, 0, 0, 1,    //
      // top (y = +s)
      -s, s, -s, 0, -1, 0, 1, 0,  //
      s, s, -s, 0, -1, 0, 0, 0,   //
      -s, s, s, 0, -1, 0, 1, 1,   //
      s, s, s, 0, -1, 0, 0, 1,    //
      // bottom (y = -s)
      s, -s, -s, 0, 1, 0, 0, 1,   //
      -s, -s, -s, 0, 1, 0, 1, 1,  //
      s, -s, s, 0, 1, 0, 0, 0,    //
      -s, -s, s, 0, 1, 0, 1, 0,   //
  };
}

void Skybox::init(GLuint textureProgram) {
  program = textureProgram;
  mvpLocation = requireUniform(program, "mvp", "SKYBOX: Could not bind attribute '");
  const std::vector<float> vertices = cubeVertices(Config::instance().getFloat("skybox.size"));

  const GLint position = glGetAttribLocation(program, "position");
  const GLint normal = glGetAttribLocation(program, "normal");
  const GLint texture = glGetAttribLocation(program, "texture");
  vertexArray = GlVertexArray::create();
  vertexBuffer = GlBuffer::create();
  indexBuffer = GlBuffer::create();
  vertexBuffer.fill(GL_ARRAY_BUFFER, vertices.data(), vertices.size() * sizeof(float));
  vertexArray.bind();
  glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer.name());
  const GLsizei stride = 8 * sizeof(float);
  const struct {
    GLint location;
    GLint size;
    std::size_t offset;
  } attributes[] = {{position, 3, 0}, {normal, 3, 3 * sizeof(float)}, {texture, 2, 6 * sizeof(float)}};
  for (const auto& a : attributes) {
    if (a.location < 0) continue;  // the shader does not use it
    glEnableVertexAttribArray(static_cast<GLuint>(a.location));
    glVertexAttribPointer(static_cast<GLuint>(a.location), a.size, GL_FLOAT, GL_FALSE, stride,
                          reinterpret_cast<const void*>(a.offset));
  }
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer.name());
  GlVertexArray::unbind();
  glBindBuffer(GL_ARRAY_BUFFER, 0);
  glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
  ready = true;
}

void Skybox::draw(const Mat4& view, const Mat4& projection) {
  const Mat4 mvp = projection * view * model;
  glUseProgram(program);
  glDepthMask(GL_FALSE);
  if (!ready) {
    glDepthMask(GL_TRUE);
    throw std::invalid_argument("Skybox: VAO is not set.");
  }
  vertexArray.bind();
  glUniformMatrix4fv(mvpLocation, 1, GL_FALSE, glm::value_ptr(mvp));
  for (std::size_t face = 0; face < textures.size(); ++face) {
    if (textures[face].isLoaded()) {
      glActiveTexture(GL_TEXTURE0);
      glBindTexture(GL_TEXTURE_2D, textures[face].getName());
    }
    glDrawArrays(GL_TRIANGLE_STRIP, static_cast<GLint>(4 * face), 4);
  }
  GlVertexArray::unbind();
  glDepthMask(GL_TRUE);
  glUseProgram(0);
}
