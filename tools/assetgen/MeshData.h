#pragma once
// Plain records the generator fills and the glTF writer stores.
#include <glm/glm.hpp>
#include <glm/gtc/quaternion.hpp>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assetgen {

struct Vertex {
    glm::vec3 position{0.0f};
    glm::vec3 normal{0.0f, 1.0f, 0.0f};
    glm::vec2 uv{0.0f};
};

// Up to four joint influences; unused slots hold joint 0 with weight 0.
struct Influence {
    std::array<uint16_t, 4> joints{0, 0, 0, 0};
    std::array<float, 4> weights{0.0f, 0.0f, 0.0f, 0.0f};
};

struct MeshData {
    std::vector<Vertex> vertices;
    std::vector<Influence> influences;  // empty for a static mesh
    std::vector<uint16_t> indices;
};

// A joint of a skeleton; the rest pose has no rotation, only an offset from the parent.
struct Joint {
    std::string name;
    int parent = -1;
    glm::vec3 restTranslation{0.0f};
};

struct Skeleton {
    std::string rootName;  // the scene's single root node above the joints
    std::vector<Joint> joints;

    glm::vec3 restPosition(int joint) const {
        glm::vec3 p(0.0f);
        for (int j = joint; j >= 0; j = joints[j].parent) p += joints[j].restTranslation;
        return p;
    }
};

// One sampled clip: the same key times for every joint's rotation, and an
// optional translation track for the first joint (the pelvis or body).
struct Clip {
    std::string name;
    std::vector<float> times;                       // seconds, strictly increasing
    std::vector<std::vector<glm::quat>> rotations;  // [joint][key]
    std::vector<glm::vec3> rootTranslations;        // [key], empty when the root does not move
};

}  // namespace assetgen
