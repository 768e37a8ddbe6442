#version 150
// Debug view of a shadow map on a screen quad (built at start-up, not drawn
// by any pass).

in vec3 position;
in vec2 texture;

uniform mat4 mvp;

out vec2 uv;

void main() {
  uv = texture;
  gl_Position = mvp * vec4(position, 1.0);
}
