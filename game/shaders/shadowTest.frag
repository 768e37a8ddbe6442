#version 150
#extension GL_ARB_shading_language_420pack : require
// Shows the moon's shadow map as lit (white) and shadowed (black) for a
// reference depth halfway into the light's range.

in vec2 uv;

layout(binding = 1) uniform sampler2DShadow shadowMap;

out vec4 fragColor;

void main() {
  float lit = texture(shadowMap, vec3(uv, 0.5));
  fragColor = vec4(vec3(lit), 1.0);
}
