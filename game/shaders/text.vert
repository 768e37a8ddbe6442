#version 150
// Text overlay: positions in window pixels, origin at the bottom left.

in vec2 position;
in vec2 texture;

uniform int widthHalf;
uniform int heightHalf;

out vec2 uv;

void main() {
  vec2 halfSize = vec2(float(widthHalf), float(heightHalf));
  uv = texture;
  gl_Position = vec4((position - halfSize) / halfSize, 0.0, 1.0);
}
