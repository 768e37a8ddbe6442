#include "GltfWriter.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace assetgen {
namespace {

constexpr int kFloat = 5126;
constexpr int kUnsignedShort = 5123;
constexpr int kArrayBuffer = 34962;
constexpr int kElementArrayBuffer = 34963;

std::string num(float v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(v));
    return text;
}

std::string quoted(const std::string& s) { return "\"" + s + "\""; }

// Collects the binary payload, its buffer views and accessors as JSON text.
class BufferBuilder {
public:
    // Appends raw bytes as one buffer view (4-byte aligned); returns its index.
    int addView(const void* data, size_t size, int target) {
        while (bytes.size() % 4 != 0) bytes.push_back(0);
        std::ostringstream view;
        view << "{\"buffer\":0,\"byteOffset\":" << bytes.size() << ",\"byteLength\":" << size;
        if (target != 0) view << ",\"target\":" << target;
        view << "}";
        views.push_back(view.str());
        const auto* p = static_cast<const unsigned char*>(data);
        bytes.insert(bytes.end(), p, p + size);
        return static_cast<int>(views.size()) - 1;
    }

    int addAccessor(int view, int componentType, size_t count, const std::string& type,
                    const std::string& minMax = "") {
        std::ostringstream a;
        a << "{\"bufferView\":" << view << ",\"componentType\":" << componentType
          << ",\"count\":" << count << ",\"type\":" << quoted(type) << minMax << "}";
        accessors.push_back(a.str());
        return static_cast<int>(accessors.size()) - 1;
    }

    int addFloats(const std::vector<float>& values, size_t components, const std::string& type,
                  int target, bool withBounds) {
        std::string bounds;
        if (withBounds) {
            std::vector<float> lo(components, 1e30f), hi(components, -1e30f);
            for (size_t i = 0; i < values.size(); ++i) {
                lo[i % components] = std::min(lo[i % components], values[i]);
                hi[i % components] = std::max(hi[i % components], values[i]);
            }
            bounds = ",\"min\":[";
            for (size_t c = 0; c < components; ++c) bounds += (c ? "," : "") + num(lo[c]);
            bounds += "],\"max\":[";
            for (size_t c = 0; c < components; ++c) bounds += (c ? "," : "") + num(hi[c]);
            bounds += "]";
        }
        int view = addView(values.data(), values.size() * sizeof(float), target);
        return addAccessor(view, kFloat, values.size() / components, type, bounds);
    }

    std::string viewsJson() const { return join(views); }
    std::string accessorsJson() const { return join(accessors); }

    std::vector<unsigned char> bytes;

private:
    static std::string join(const std::vector<std::string>& items) {
        std::string out;
        for (size_t i = 0; i < items.size(); ++i) out += (i ? "," : "") + items[i];
        return out;
    }
    std::vector<std::string> views;
    std::vector<std::string> accessors;
};

struct PrimitiveAccessors {
    int position = -1, normal = -1, uv = -1, joints = -1, weights = -1, indices = -1;
};

PrimitiveAccessors addMesh(BufferBuilder& buffer, const MeshData& mesh) {
    if (mesh.vertices.size() > 65536) throw std::runtime_error("mesh exceeds 16-bit indices");
    std::vector<float> positions, normals, uvs;
    for (const Vertex& v : mesh.vertices) {
        positions.insert(positions.end(), {v.position.x, v.position.y, v.position.z});
        glm::vec3 n = glm::normalize(v.normal);
        normals.insert(normals.end(), {n.x, n.y, n.z});
        uvs.insert(uvs.end(), {v.uv.x, v.uv.y});
    }
    PrimitiveAccessors a;
    a.position = buffer.addFloats(positions, 3, "VEC3", kArrayBuffer, true);
    a.normal = buffer.addFloats(normals, 3, "VEC3", kArrayBuffer, false);
    a.uv = buffer.addFloats(uvs, 2, "VEC2", kArrayBuffer, false);
    if (!mesh.influences.empty()) {
        std::vector<uint16_t> joints;
        std::vector<float> weights;
        for (const Influence& inf : mesh.influences) {
            joints.insert(joints.end(), inf.joints.begin(), inf.joints.end());
            weights.insert(weights.end(), inf.weights.begin(), inf.weights.end());
        }
        int jointView = buffer.addView(joints.data(), joints.size() * 2, kArrayBuffer);
        a.joints = buffer.addAccessor(jointView, kUnsignedShort, mesh.influences.size(), "VEC4");
        a.weights = buffer.addFloats(weights, 4, "VEC4", kArrayBuffer, false);
    }
    int indexView = buffer.addView(mesh.indices.data(), mesh.indices.size() * 2, kElementArrayBuffer);
    a.indices = buffer.addAccessor(indexView, kUnsignedShort, mesh.indices.size(), "SCALAR");
    return a;
}

std::string meshJson(const std::string& name, const PrimitiveAccessors& a) {
    std::ostringstream m;
    m << "{\"name\":" << quoted(name) << ",\"primitives\":[{\"attributes\":{\"POSITION\":" << a.position
      << ",\"NORMAL\":" << a.normal << ",\"TEXCOORD_0\":" << a.uv;
    if (a.joints >= 0) m << ",\"JOINTS_0\":" << a.joints << ",\"WEIGHTS_0\":" << a.weights;
    m << "},\"indices\":" << a.indices << ",\"material\":0,\"mode\":4}]}";
    return m.str();
}

std::string materialJson(const std::string& name, const std::string& textureFile) {
    return "\"materials\":[{\"name\":" + quoted(name) +
           ",\"pbrMetallicRoughness\":{\"baseColorTexture\":{\"index\":0},\"metallicFactor\":0,"
           "\"roughnessFactor\":1}}],"
           "\"textures\":[{\"sampler\":0,\"source\":0}],"
           "\"images\":[{\"uri\":" + quoted(textureFile) + "}],"
           "\"samplers\":[{\"magFilter\":9729,\"minFilter\":9987,\"wrapS\":33071,\"wrapT\":33071}],";
}

// Joint nodes start at node index `firstNode`; returns their JSON, comma-joined.
std::string jointNodesJson(const Skeleton& skeleton, int firstNode) {
    std::string out;
    for (size_t j = 0; j < skeleton.joints.size(); ++j) {
        const Joint& joint = skeleton.joints[j];
        std::ostringstream n;
        n << "{\"name\":" << quoted(joint.name) << ",\"translation\":[" << num(joint.restTranslation.x)
          << "," << num(joint.restTranslation.y) << "," << num(joint.restTranslation.z) << "]";
        std::string children;
        for (size_t c = 0; c < skeleton.joints.size(); ++c)
            if (skeleton.joints[c].parent == static_cast<int>(j))
                children += (children.empty() ? "" : ",") + std::to_string(firstNode + c);
        if (!children.empty()) n << ",\"children\":[" << children << "]";
        n << "}";
        out += (j ? "," : "") + n.str();
    }
    return out;
}

void writeFiles(const std::filesystem::path& folder, const std::string& baseName,
                const std::string& body, const BufferBuilder& buffer) {
    std::filesystem::create_directories(folder);
    const std::string binName = baseName + ".bin";
    std::ofstream bin(folder / binName, std::ios::binary);
    bin.write(reinterpret_cast<const char*>(buffer.bytes.data()),
              static_cast<std::streamsize>(buffer.bytes.size()));
    std::ofstream gltf(folder / (baseName + ".gltf"));
    gltf << "{\"asset\":{\"version\":\"2.0\",\"generator\":\"assetgen\"},\"scene\":0," << body
         << "\"buffers\":[{\"uri\":" << quoted(binName) << ",\"byteLength\":" << buffer.bytes.size()
         << "}],\"bufferViews\":[" << buffer.viewsJson() << "],\"accessors\":["
         << buffer.accessorsJson() << "]}\n";
    if (!bin || !gltf) throw std::runtime_error("cannot write " + (folder / baseName).string());
}

}  // namespace

void writeStaticModel(const std::filesystem::path& folder, const std::string& baseName,
                      const MeshData& mesh, const std::string& textureFile) {
    BufferBuilder buffer;
    PrimitiveAccessors a = addMesh(buffer, mesh);
    std::string body = "\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"name\":" + quoted(baseName) +
                       ",\"mesh\":0}],\"meshes\":[" + meshJson(baseName + "_mesh", a) + "]," +
                       materialJson(baseName + "_material", textureFile);
    writeFiles(folder, baseName, body, buffer);
}

void writeSkinnedModel(const std::filesystem::path& folder, const std::string& baseName,
                       const MeshData& mesh, const std::string& textureFile,
                       const Skeleton& skeleton) {
    BufferBuilder buffer;
    PrimitiveAccessors a = addMesh(buffer, mesh);
    // The rest pose has no rotations, so each inverse bind matrix only undoes
    // the joint's rest position.
    std::vector<float> inverseBinds;
    for (size_t j = 0; j < skeleton.joints.size(); ++j) {
        glm::mat4 m = glm::translate(glm::mat4(1.0f), -skeleton.restPosition(static_cast<int>(j)));
        const float* p = &m[0][0];
        inverseBinds.insert(inverseBinds.end(), p, p + 16);
    }
    int ibm = buffer.addFloats(inverseBinds, 16, "MAT4", 0, false);
    // Nodes: 0 root, 1 mesh, 2.. joints.
    std::string joints;
    for (size_t j = 0; j < skeleton.joints.size(); ++j) joints += (j ? "," : "") + std::to_string(2 + j);
    std::string body = "\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"name\":" + quoted(skeleton.rootName) +
                       ",\"children\":[1,2]},{\"name\":" + quoted(baseName + "_mesh") +
                       ",\"mesh\":0,\"skin\":0}," + jointNodesJson(skeleton, 2) + "],\"skins\":[{\"name\":" +
                       quoted(baseName + "_skin") + ",\"inverseBindMatrices\":" + std::to_string(ibm) +
                       ",\"skeleton\":2,\"joints\":[" + joints + "]}],\"meshes\":[" +
                       meshJson(baseName + "_geometry", a) + "]," +
                       materialJson(baseName + "_material", textureFile);
    writeFiles(folder, baseName, body, buffer);
}

void writeAnimation(const std::filesystem::path& folder, const std::string& baseName,
                    const Skeleton& skeleton, const Clip& clip) {
    BufferBuilder buffer;
    int input = buffer.addFloats(clip.times, 1, "SCALAR", 0, true);
    std::string samplers, channels;
    int samplerIndex = 0;
    auto addChannel = [&](int output, size_t joint, const char* path) {
        samplers += std::string(samplerIndex ? "," : "") + "{\"input\":" + std::to_string(input) +
                    ",\"output\":" + std::to_string(output) + ",\"interpolation\":\"LINEAR\"}";
        channels += std::string(samplerIndex ? "," : "") + "{\"sampler\":" + std::to_string(samplerIndex) +
                    ",\"target\":{\"node\":" + std::to_string(1 + joint) + ",\"path\":\"" + path + "\"}}";
        ++samplerIndex;
    };
    for (size_t j = 0; j < skeleton.joints.size(); ++j) {
        std::vector<float> values;
        for (const glm::quat& q0 : clip.rotations[j]) {
            glm::quat q = glm::normalize(q0);
            values.insert(values.end(), {q.x, q.y, q.z, q.w});
        }
        addChannel(buffer.addFloats(values, 4, "VEC4", 0, false), j, "rotation");
    }
    if (!clip.rootTranslations.empty()) {
        std::vector<float> values;
        for (const glm::vec3& t : clip.rootTranslations) values.insert(values.end(), {t.x, t.y, t.z});
        addChannel(buffer.addFloats(values, 3, "VEC3", 0, false), 0, "translation");
    }
    // Nodes: 0 root, 1.. joints (the first joint is the root's only child).
    std::string body = "\"scenes\":[{\"nodes\":[0]}],\"nodes\":[{\"name\":" + quoted(skeleton.rootName) +
                       ",\"children\":[1]}," + jointNodesJson(skeleton, 1) + "],\"animations\":[{\"name\":" +
                       quoted(clip.name) + ",\"samplers\":[" + samplers + "],\"channels\":[" + channels + "]}],";
    writeFiles(folder, baseName, body, buffer);
}

}  // namespace assetgen
