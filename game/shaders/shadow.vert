#version 150
// Depth-only pass into one shadow map; skinned exactly like the lit draw so
// that shadows follow the animation.

in vec3 position;
in ivec4 boneId;
in vec4 boneWeight;

uniform mat4 mvp;  // light projection * light view * model
uniform mat4 bones[100];

// Static meshes feed zero weights and keep their rest pose.
mat4 skinMatrix() {
  float total = boneWeight.x + boneWeight.y + boneWeight.z + boneWeight.w;
  if (total <= 0.0) return mat4(1.0);
  ivec4 ids = clamp(boneId, ivec4(0), ivec4(99));
  return bones[ids.x] * boneWeight.x + bones[ids.y] * boneWeight.y +
         bones[ids.z] * boneWeight.z + bones[ids.w] * boneWeight.w;
}

void main() {
  gl_Position = mvp * skinMatrix() * vec4(position, 1.0);
}
