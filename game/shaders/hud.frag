#version 150
#extension GL_ARB_shading_language_420pack : require
// HUD: flat rectangles in one colour, or glyphs of the font tinted by it.

in vec2 uv;

layout(binding = 0) uniform sampler2D font;
uniform vec4 color;
uniform int textured;

out vec4 fragColor;

void main() {
  if (textured == 0) {
    fragColor = color;
    return;
  }
  vec4 texel = texture(font, uv);
  float brightness = max(texel.r, max(texel.g, texel.b));
  fragColor = vec4(texel.rgb * color.rgb, texel.a * brightness * color.a);
}
