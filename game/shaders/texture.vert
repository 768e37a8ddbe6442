#version 150
// Sky box: a textured cube, one face texture at a time.

in vec3 position;
in vec2 texture;

uniform mat4 mvp;

out vec2 uv;

void main() {
  uv = texture;
  gl_Position = mvp * vec4(position, 1.0);
}
