#version 150
#extension GL_ARB_shading_language_420pack : require
// Glyphs from the font grid. Both kinds of font image work: light glyphs on
// a transparent background, and light glyphs on an opaque black background.

in vec2 uv;

layout(binding = 0) uniform sampler2D font;

out vec4 fragColor;

void main() {
  vec4 texel = texture(font, uv);
  float brightness = max(texel.r, max(texel.g, texel.b));
  fragColor = vec4(texel.rgb, texel.a * brightness);
}
