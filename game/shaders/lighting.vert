#version 150
// Lit scene objects: skins the vertex when it carries bone weights and hands
// world-space position, normal and the four shadow-map coordinates on.

in vec3 position;
in vec3 normal;
in vec2 texture;
in ivec4 boneId;
in vec4 boneWeight;

uniform mat4 mvp;
uniform mat4 model;
uniform mat4 lightMVP1;  // moon
uniform mat4 lightMVP2;  // lamp 0
uniform mat4 lightMVP3;  // lamp 1
uniform mat4 lightMVP4;  // lamp 2
uniform mat4 bones[100];

out vec3 worldPosition;
out vec3 worldNormal;
out vec2 uv;
out vec4 shadowCoord1;
out vec4 shadowCoord2;
out vec4 shadowCoord3;
out vec4 shadowCoord4;

// Static meshes feed zero weights: they keep their rest pose whatever the
// last animated draw left in "bones".
mat4 skinMatrix() {
  float total = boneWeight.x + boneWeight.y + boneWeight.z + boneWeight.w;
  if (total <= 0.0) return mat4(1.0);
  ivec4 ids = clamp(boneId, ivec4(0), ivec4(99));
  return bones[ids.x] * boneWeight.x + bones[ids.y] * boneWeight.y +
         bones[ids.z] * boneWeight.z + bones[ids.w] * boneWeight.w;
}

void main() {
  mat4 skin = skinMatrix();
  vec4 local = skin * vec4(position, 1.0);
  vec4 world = model * local;
  worldPosition = world.xyz;
  worldNormal = mat3(model) * mat3(skin) * normal;
  uv = texture;
  shadowCoord1 = lightMVP1 * local;
  shadowCoord2 = lightMVP2 * local;
  shadowCoord3 = lightMVP3 * local;
  shadowCoord4 = lightMVP4 * local;
  gl_Position = mvp * local;
}
