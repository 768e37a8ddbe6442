#version 150
#extension GL_ARB_shading_language_420pack : require
// Sky box face colour straight from its texture, unlit.

in vec2 uv;

layout(binding = 0) uniform sampler2D faceTexture;

out vec4 fragColor;

void main() {
  fragColor = vec4(texture(faceTexture, uv).rgb, 1.0);
}
