#version 150
#extension GL_ARB_shading_language_420pack : require
// Per-pixel light from the moon and three spot lamps, each with a filtered
// shadow map, then height fog below the fog plane.

struct BaseLight {
  vec3 color;
  float ambientIntensity;
  float diffuseIntensity;
};

struct DirectionalLight {
  BaseLight base;
  vec3 direction;
};

struct Falloff {
  float constant;
  float linear;
  float exponential;
};

struct SpotLight {
  BaseLight base;
  vec3 position;
  vec3 direction;
  Falloff falloff;
  float angle;  // cosine of the cone's half angle
};

in vec3 worldPosition;
in vec3 worldNormal;
in vec2 uv;
in vec4 shadowCoord1;
in vec4 shadowCoord2;
in vec4 shadowCoord3;
in vec4 shadowCoord4;

layout(binding = 0) uniform sampler2D objectTexture;
layout(binding = 1) uniform sampler2DShadow moonShadowMap;
layout(binding = 2) uniform sampler2DShadow lamp0ShadowMap;
layout(binding = 3) uniform sampler2DShadow lamp1ShadowMap;
layout(binding = 4) uniform sampler2DShadow lamp2ShadowMap;

uniform DirectionalLight moon;
uniform float moonShadowIntensity;
uniform SpotLight lamps[3];
uniform vec3 worldEye;
uniform float specularIntensity;
uniform float specularPower;

uniform float opacity;
uniform int isTransparency;

uniform bool renderFog;
uniform vec3 fogColor;
uniform vec4 fogHalfspace;  // (normal, -height): p is fogged where dot < 0
uniform float fogIntensity;  // density pre-scaled by log2(e) for exp2
uniform float fogLightDistortion;

out vec4 fragColor;

// Where the fragment lies in a light's shadow map; false outside its view,
// where the fragment counts as lit.
bool inShadowMap(vec4 coord, out vec3 p) {
  p = coord.xyz / coord.w;
  return coord.w > 0.0 && p.x >= 0.0 && p.x <= 1.0 && p.y >= 0.0 && p.y <= 1.0 && p.z <= 1.0;
}

// Fraction of a light reaching the fragment: four filtered comparisons half
// a texel apart, a tent filter over three by three texels, for a soft edge.
float visibility(sampler2DShadow shadowMap, vec4 coord) {
  vec3 p;
  if (!inShadowMap(coord, p)) return 1.0;
  vec2 offset = 0.5 / vec2(textureSize(shadowMap, 0));
  return 0.25 * (texture(shadowMap, vec3(p.xy + vec2(-offset.x, -offset.y), p.z)) +
                 texture(shadowMap, vec3(p.xy + vec2(offset.x, -offset.y), p.z)) +
                 texture(shadowMap, vec3(p.xy + vec2(-offset.x, offset.y), p.z)) +
                 texture(shadowMap, vec3(p.xy + vec2(offset.x, offset.y), p.z)));
}

// Diffuse and specular parts of one light arriving along toLight.
vec3 diffuseSpecular(BaseLight light, vec3 toLight, vec3 n, vec3 toEye) {
  float diffuse = max(dot(n, toLight), 0.0);
  if (diffuse <= 0.0) return vec3(0.0);
  vec3 halfway = normalize(toLight + toEye);
  float specular = pow(max(dot(n, halfway), 0.0), max(specularPower, 1.0)) * specularIntensity;
  return light.color * (light.diffuseIntensity * diffuse + specular);
}

vec3 spotLight(SpotLight lamp, vec3 n, vec3 toEye, float lit) {
  vec3 fromLamp = worldPosition - lamp.position;
  float distance = length(fromLamp);
  fromLamp /= max(distance, 1e-4);
  float cosine = dot(fromLamp, normalize(lamp.direction));
  if (cosine <= lamp.angle) return vec3(0.0);
  // Soft rim: full strength from a quarter of the way into the cone.
  float rim = clamp((cosine - lamp.angle) / max((1.0 - lamp.angle) * 0.25, 1e-4), 0.0, 1.0);
  float attenuation = lamp.falloff.constant + lamp.falloff.linear * distance +
                      lamp.falloff.exponential * distance * distance;
  vec3 ambient = lamp.base.color * lamp.base.ambientIntensity;
  vec3 direct = diffuseSpecular(lamp.base, -fromLamp, n, toEye) * lit;
  return (ambient + direct) * rim / max(attenuation, 1e-4);
}

// Optical depth of the eye-to-fragment segment below the fog plane: only the
// part of the segment under the plane is fogged, deeper parts more so.
float fogDepth() {
  vec3 toEye = worldEye - worldPosition;
  float planeP = dot(fogHalfspace, vec4(worldPosition, 1.0));
  float planeC = dot(fogHalfspace, vec4(worldEye, 1.0));
  float planeV = dot(fogHalfspace.xyz, toEye);
  float eyeInFog = planeC <= 0.0 ? 1.0 : 0.0;
  float c1 = eyeInFog * (planeP + planeC);
  float c2 = min((1.0 - 2.0 * eyeInFog) * planeP, 0.0);
  return -length(toEye) * 0.5 * (c1 - c2 * c2 / max(abs(planeV), 1e-4));
}

void main() {
  vec4 texel = texture(objectTexture, uv);
  vec3 n = normalize(worldNormal);
  vec3 toEye = normalize(worldEye - worldPosition);

  vec3 moonAmbient = moon.base.color * moon.base.ambientIntensity;
  float moonLit = 1.0 - moonShadowIntensity * (1.0 - visibility(moonShadowMap, shadowCoord1));
  vec3 moonDirect = diffuseSpecular(moon.base, -normalize(moon.direction), n, toEye) * moonLit;

  vec3 lampLight = spotLight(lamps[0], n, toEye, visibility(lamp0ShadowMap, shadowCoord2)) +
                   spotLight(lamps[1], n, toEye, visibility(lamp1ShadowMap, shadowCoord3)) +
                   spotLight(lamps[2], n, toEye, visibility(lamp2ShadowMap, shadowCoord4));

  vec3 color = texel.rgb * (moonAmbient + moonDirect + lampLight);

  if (renderFog) {
    float transmitted = clamp(exp2(-fogIntensity * fogDepth()), 0.0, 1.0);
    // Light passing through the fog scatters in it: lamps glow in the haze.
    vec3 haze = fogColor * (1.0 + fogLightDistortion * (lampLight + moonAmbient));
    color = mix(haze, color, transmitted);
  }

  float alpha = isTransparency != 0 ? texel.a * opacity : 1.0;
  fragColor = vec4(color, alpha);
}
