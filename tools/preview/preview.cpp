// preview: looks at the generated content without the game's renderer.
//   preview character MODEL ANIMATION OUT.png TIME...   frames of a clip, front and side view
//   preview map CONFIG BIN_FOLDER OUT.png [perspective]  the map from above, or from a corner
//   preview sky SKY_FOLDER OUT.png                       panorama sampled through the sky box table
// Models are read through Assimp with the game's import flags, posed on the
// CPU with the game's key interpolation and skinning rules, and rasterised
// with a z-buffer into a PNG.
#include <FreeImage.h>
#include <assimp/Importer.hpp>
#include <assimp/postprocess.h>
#include <assimp/scene.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "config/Config.h"

namespace {

glm::mat4 toGlm(const aiMatrix4x4& m) { return glm::transpose(glm::make_mat4(&m.a1)); }

struct Picture {
    int width, height;
    std::vector<glm::vec3> colour;
    std::vector<float> depth;
    Picture(int w, int h, glm::vec3 background)
        : width(w), height(h), colour(static_cast<size_t>(w) * h, background), depth(static_cast<size_t>(w) * h, 1e30f) {}
    void save(const std::string& path) const {
        FIBITMAP* bmp = FreeImage_Allocate(width, height, 24);
        for (int y = 0; y < height; ++y) {
            BYTE* line = FreeImage_GetScanLine(bmp, height - 1 - y);
            for (int x = 0; x < width; ++x) {
                glm::vec3 c = glm::clamp(colour[static_cast<size_t>(y) * width + x], 0.0f, 1.0f) * 255.0f;
                line[x * 3 + FI_RGBA_RED] = static_cast<BYTE>(c.r);
                line[x * 3 + FI_RGBA_GREEN] = static_cast<BYTE>(c.g);
                line[x * 3 + FI_RGBA_BLUE] = static_cast<BYTE>(c.b);
            }
        }
        if (!FreeImage_Save(FIF_PNG, bmp, path.c_str(), 0)) throw std::runtime_error("cannot write " + path);
        FreeImage_Unload(bmp);
    }
};

// A texture as the game holds it: FreeImage's rows bottom-up, row 0 at v = 0.
struct Texture {
    int width = 0, height = 0;
    std::vector<glm::vec4> texels;
    explicit Texture(const std::string& path) {
        FIBITMAP* raw = FreeImage_Load(FreeImage_GetFileType(path.c_str(), 0), path.c_str(), 0);
        if (!raw) throw std::runtime_error("cannot load " + path);
        FIBITMAP* bmp = FreeImage_ConvertTo32Bits(raw);
        FreeImage_Unload(raw);
        width = static_cast<int>(FreeImage_GetWidth(bmp));
        height = static_cast<int>(FreeImage_GetHeight(bmp));
        BYTE* bits = FreeImage_GetBits(bmp);
        unsigned pitch = FreeImage_GetPitch(bmp);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                BYTE* p = bits + y * pitch + x * 4;
                texels.emplace_back(p[FI_RGBA_RED] / 255.0f, p[FI_RGBA_GREEN] / 255.0f, p[FI_RGBA_BLUE] / 255.0f,
                                    p[FI_RGBA_ALPHA] / 255.0f);
            }
        FreeImage_Unload(bmp);
    }
    glm::vec4 sample(glm::vec2 uv) const {  // clamped to the edge, nearest texel
        int x = std::clamp(static_cast<int>(uv.x * width), 0, width - 1);
        int y = std::clamp(static_cast<int>(uv.y * height), 0, height - 1);
        return texels[static_cast<size_t>(y) * width + x];
    }
};

struct Model {
    std::vector<glm::vec3> positions, normals;
    std::vector<glm::vec2> uvs;
    std::vector<std::array<unsigned, 3>> triangles;
    std::vector<std::array<std::pair<int, float>, 4>> influences;
    std::vector<glm::mat4> offsets;
    std::map<std::string, int> boneIndex;
    std::unique_ptr<Texture> texture;
    Assimp::Importer importer;
    const aiScene* scene = nullptr;
};

const unsigned kFlags = aiProcess_Triangulate | aiProcess_GenSmoothNormals;

void loadModel(Model& m, const std::string& path) {
    m.scene = m.importer.ReadFile(path, kFlags);
    if (!m.scene || m.scene->mNumMeshes == 0) throw std::runtime_error("cannot import " + path + ": " + m.importer.GetErrorString());
    const aiMesh* mesh = m.scene->mMeshes[0];
    for (unsigned i = 0; i < mesh->mNumVertices; ++i) {
        m.positions.emplace_back(mesh->mVertices[i].x, mesh->mVertices[i].y, mesh->mVertices[i].z);
        m.normals.emplace_back(mesh->mNormals[i].x, mesh->mNormals[i].y, mesh->mNormals[i].z);
        m.uvs.emplace_back(mesh->mTextureCoords[0][i].x, mesh->mTextureCoords[0][i].y);
    }
    for (unsigned f = 0; f < mesh->mNumFaces; ++f)
        m.triangles.push_back({mesh->mFaces[f].mIndices[0], mesh->mFaces[f].mIndices[1], mesh->mFaces[f].mIndices[2]});
    m.influences.assign(mesh->mNumVertices, {std::pair<int, float>{0, 0.0f}, {0, 0.0f}, {0, 0.0f}, {0, 0.0f}});
    for (unsigned b = 0; b < mesh->mNumBones; ++b) {
        const aiBone* bone = mesh->mBones[b];
        int index = static_cast<int>(m.offsets.size());
        m.boneIndex[bone->mName.C_Str()] = index;
        m.offsets.push_back(toGlm(bone->mOffsetMatrix));
        for (unsigned w = 0; w < bone->mNumWeights; ++w)
            for (auto& slot : m.influences[bone->mWeights[w].mVertexId])
                if (slot.second == 0.0f) {
                    slot = {index, bone->mWeights[w].mWeight};
                    break;
                }
    }
    aiString name;
    aiGetMaterialTexture(m.scene->mMaterials[mesh->mMaterialIndex], aiTextureType_DIFFUSE, 0, &name);
    m.texture = std::make_unique<Texture>(path.substr(0, path.rfind('/')) + "/" + name.C_Str());
}

// The game's key search and interpolation.
template <typename Key>
size_t keyIndex(const Key* keys, unsigned count, float ticks) {
    for (unsigned i = 0; i + 1 < count; ++i)
        if (ticks < static_cast<float>(keys[i + 1].mTime)) return i;
    return 0;
}

glm::vec3 interpolate(const aiVectorKey* keys, unsigned count, float ticks) {
    auto v = [&](unsigned i) { return glm::vec3(keys[i].mValue.x, keys[i].mValue.y, keys[i].mValue.z); };
    if (count == 1) return v(0);
    size_t i = keyIndex(keys, count, ticks);
    float f = (ticks - static_cast<float>(keys[i].mTime)) / static_cast<float>(keys[i + 1].mTime - keys[i].mTime);
    return v(static_cast<unsigned>(i)) + (v(static_cast<unsigned>(i + 1)) - v(static_cast<unsigned>(i))) * f;
}

glm::quat interpolate(const aiQuatKey* keys, unsigned count, float ticks) {
    auto q = [&](size_t i) { return glm::quat(keys[i].mValue.w, keys[i].mValue.x, keys[i].mValue.y, keys[i].mValue.z); };
    if (count == 1) return q(0);
    size_t i = keyIndex(keys, count, ticks);
    float f = (ticks - static_cast<float>(keys[i].mTime)) / static_cast<float>(keys[i + 1].mTime - keys[i].mTime);
    glm::quat a = q(i), b = q(i + 1);
    float dot = glm::dot(a, b);
    if (dot < 0.0f) { b = -b; dot = -dot; }
    glm::quat r;
    if (dot <= 0.9999999f) {
        float angle = std::acos(dot);
        r = (b * std::sin(f * angle) + a * std::sin((1.0f - f) * angle)) / std::sin(angle);
    } else {
        r = a * (1.0f - f) + b * f;
    }
    float len = glm::length(r);
    return len == 0.0f ? glm::quat(1, 0, 0, 0) : r / len;
}

void evaluate(const aiNode* node, const aiAnimation* anim, float ticks, const glm::mat4& parent, const Model& m,
              std::vector<glm::mat4>& finals) {
    glm::mat4 local = toGlm(node->mTransformation);
    for (unsigned c = 0; anim && c < anim->mNumChannels; ++c) {
        const aiNodeAnim* ch = anim->mChannels[c];
        if (std::string(ch->mNodeName.C_Str()) != node->mName.C_Str()) continue;
        glm::vec3 s = interpolate(ch->mScalingKeys, ch->mNumScalingKeys, ticks);
        glm::quat r = interpolate(ch->mRotationKeys, ch->mNumRotationKeys, ticks);
        glm::vec3 t = interpolate(ch->mPositionKeys, ch->mNumPositionKeys, ticks);
        local = glm::translate(glm::mat4(1.0f), t) * glm::mat4_cast(r) * glm::scale(glm::mat4(1.0f), s);
        break;
    }
    glm::mat4 global = parent * local;
    auto it = m.boneIndex.find(node->mName.C_Str());
    if (it != m.boneIndex.end()) finals[static_cast<size_t>(it->second)] = global * m.offsets[static_cast<size_t>(it->second)];
    for (unsigned c = 0; c < node->mNumChildren; ++c) evaluate(node->mChildren[c], anim, ticks, global, m, finals);
}

struct Camera {
    glm::mat4 viewProjection;
    glm::vec3 lightDirection;
};

void rasterise(Picture& pic, const std::vector<glm::vec3>& positions, const std::vector<glm::vec3>& normals,
               const Model& m, const Camera& cam, glm::ivec4 viewport, glm::vec3 tint = glm::vec3(1.0f)) {
    std::vector<glm::vec3> screen(positions.size());
    std::vector<bool> behind(positions.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        glm::vec4 clip = cam.viewProjection * glm::vec4(positions[i], 1.0f);
        behind[i] = clip.w < 0.05f;  // no clipping: triangles reaching behind the eye are left out
        glm::vec3 ndc = glm::vec3(clip) / clip.w;
        screen[i] = {viewport.x + (ndc.x * 0.5f + 0.5f) * viewport.z, viewport.y + (0.5f - ndc.y * 0.5f) * viewport.w, ndc.z};
    }
    for (const auto& tri : m.triangles) {
        if (behind[tri[0]] || behind[tri[1]] || behind[tri[2]]) continue;
        const glm::vec3 &a = screen[tri[0]], &b = screen[tri[1]], &c = screen[tri[2]];
        float area = (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
        if (area >= 0.0f) continue;  // back face (screen y points down)
        int x0 = std::max(viewport.x, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
        int x1 = std::min(viewport.x + viewport.z - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
        int y0 = std::max(viewport.y, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
        int y1 = std::min(viewport.y + viewport.w - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
        for (int y = y0; y <= y1; ++y)
            for (int x = x0; x <= x1; ++x) {
                float px = x + 0.5f, py = y + 0.5f;
                float w0 = ((b.x - px) * (c.y - py) - (b.y - py) * (c.x - px)) / area;
                float w1 = ((c.x - px) * (a.y - py) - (c.y - py) * (a.x - px)) / area;
                float w2 = 1.0f - w0 - w1;
                if (w0 < 0 || w1 < 0 || w2 < 0) continue;
                float z = w0 * a.z + w1 * b.z + w2 * c.z;
                size_t idx = static_cast<size_t>(y) * pic.width + x;
                if (z >= pic.depth[idx]) continue;
                pic.depth[idx] = z;
                glm::vec2 uv = w0 * m.uvs[tri[0]] + w1 * m.uvs[tri[1]] + w2 * m.uvs[tri[2]];
                glm::vec3 n = glm::normalize(w0 * normals[tri[0]] + w1 * normals[tri[1]] + w2 * normals[tri[2]]);
                float light = 0.35f + 0.65f * std::max(0.0f, glm::dot(n, -cam.lightDirection));
                pic.colour[idx] = glm::vec3(m.texture->sample(uv)) * light * tint;
            }
    }
}

void posed(const Model& m, const aiAnimation* anim, float seconds, std::vector<glm::vec3>& pos, std::vector<glm::vec3>& nrm) {
    std::vector<glm::mat4> finals(m.offsets.size(), glm::mat4(1.0f));
    if (anim) {
        float tps = anim->mTicksPerSecond != 0.0 ? static_cast<float>(anim->mTicksPerSecond) : 25.0f;
        float ticks = std::fmod(seconds * tps, static_cast<float>(anim->mDuration));
        evaluate(m.scene->mRootNode, anim, ticks, glm::mat4(1.0f), m, finals);
    }
    pos.resize(m.positions.size());
    nrm.resize(m.positions.size());
    for (size_t i = 0; i < m.positions.size(); ++i) {
        glm::mat4 skin(0.0f);
        float total = 0.0f;
        for (const auto& [bone, weight] : m.influences[i]) {
            skin += finals[static_cast<size_t>(bone)] * weight;
            total += weight;
        }
        if (total == 0.0f) skin = glm::mat4(1.0f);
        pos[i] = glm::vec3(skin * glm::vec4(m.positions[i], 1.0f));
        nrm[i] = glm::normalize(glm::vec3(skin * glm::vec4(m.normals[i], 0.0f)));
    }
}

int characterPreview(const std::string& modelPath, const std::string& animPath, const std::string& out,
                     const std::vector<float>& times) {
    Model m;
    loadModel(m, modelPath);
    Assimp::Importer animImporter;
    const aiScene* animScene = animImporter.ReadFile(animPath, kFlags);
    if (!animScene || animScene->mNumAnimations == 0) throw std::runtime_error("no animation in " + animPath);
    const aiAnimation* anim = animScene->mAnimations[0];
    const int cell = 220;
    Picture pic(cell * static_cast<int>(times.size()), cell * 2, glm::vec3(0.16f, 0.18f, 0.24f));
    glm::mat4 projection = glm::perspective(0.6f, 1.0f, 0.1f, 50.0f);
    // Row 0: three-quarter front view; row 1: from the character's left side.
    const glm::vec3 eyes[2] = {{2.2f, 1.6f, 3.6f}, {4.2f, 1.2f, 0.0f}};
    for (size_t f = 0; f < times.size(); ++f) {
        std::vector<glm::vec3> pos, nrm;
        posed(m, anim, times[f], pos, nrm);
        for (int row = 0; row < 2; ++row) {
            Camera cam{projection * glm::lookAt(eyes[row], glm::vec3(0, 0.85f, 0), glm::vec3(0, 1, 0)),
                       glm::normalize(glm::vec3(-0.4f, -0.7f, -0.6f))};
            rasterise(pic, pos, nrm, m, cam, {static_cast<int>(f) * cell, row * cell, cell, cell});
        }
    }
    // A ground line at y = 0 in each cell helps to judge foot contact.
    for (size_t f = 0; f < times.size(); ++f)
        for (int row = 0; row < 2; ++row) {
            Camera cam{projection * glm::lookAt(eyes[row], glm::vec3(0, 0.85f, 0), glm::vec3(0, 1, 0)), {}};
            for (float x = -1.0f; x <= 1.0f; x += 0.002f) {
                glm::vec3 p = row == 0 ? glm::vec3(x, 0, 0) : glm::vec3(0, 0, x);
                glm::vec4 c = cam.viewProjection * glm::vec4(p, 1.0f);
                int sx = static_cast<int>(f) * cell + static_cast<int>((c.x / c.w * 0.5f + 0.5f) * cell);
                int sy = row * cell + static_cast<int>((0.5f - c.y / c.w * 0.5f) * cell);
                if (sx >= static_cast<int>(f) * cell && sx < static_cast<int>(f + 1) * cell && sy >= row * cell && sy < (row + 1) * cell)
                    pic.colour[static_cast<size_t>(sy) * pic.width + sx] = glm::vec3(0.9f, 0.9f, 0.2f);
            }
        }
    pic.save(out);
    return 0;
}

int mapPreview(const std::string& configPath, const std::string& binFolder, const std::string& out, bool perspective) {
    std::ifstream file(configPath);
    std::stringstream text;
    text << file.rdbuf();
    Config& config = Config::instance();
    config.loadFromString(text.str());
    std::vector<std::string> names = {"map.floor0", "map.floor1", "map.floor1small", "map.floor2", "map.floor2small",
                                      "map.stairs0", "map.stairs1", "lamp1", "lamp2", "lamp3"};
    for (int i = 0; i <= 8; ++i) names.push_back("map.wall" + std::to_string(i));
    const int size = 900;
    Picture pic(size, size, glm::vec3(0.0f));
    // Looking straight down, +x to the right, -z (the back) at the top.
    glm::mat4 projection = glm::ortho(-32.0f, 32.0f, -32.0f, 32.0f, 0.1f, 100.0f);
    glm::mat4 view = glm::lookAt(glm::vec3(0, 50, 0), glm::vec3(0, 0, 0), glm::vec3(0, 0, -1));
    Camera cam{projection * view, glm::normalize(glm::vec3(-0.3f, -1.0f, -0.5f))};
    if (perspective)  // from the front right corner, above the ground, looking at the stairs
        cam.viewProjection = glm::perspective(1.0f, 1.0f, 0.1f, 200.0f) *
                             glm::lookAt(glm::vec3(24, 18, 22), glm::vec3(-4, 3, -16), glm::vec3(0, 1, 0));
    for (const std::string& name : names) {
        Model m;
        loadModel(m, binFolder + "/" + config.getString(name + ".path"));
        glm::vec3 p(config.getFloatWithFallback(name + ".position.x", "sceneObject.standard.position.x"),
                    config.getFloatWithFallback(name + ".position.y", "sceneObject.standard.position.y"),
                    config.getFloatWithFallback(name + ".position.z", "sceneObject.standard.position.z"));
        std::vector<glm::vec3> pos(m.positions), nrm(m.normals);
        for (auto& v : pos) v += p;
        // Higher levels a little brighter so they stand out from above.
        rasterise(pic, pos, nrm, m, cam, {0, 0, size, size}, glm::vec3(0.75f + 0.05f * p.y));
    }
    // Mark the enemy waypoints (red) and the start boxes (green) and the character (blue).
    auto mark = [&](glm::vec3 w, glm::vec3 colour, int radius) {
        glm::vec4 c = cam.viewProjection * glm::vec4(w, 1.0f);
        int sx = static_cast<int>((c.x * 0.5f + 0.5f) * size), sy = static_cast<int>((0.5f - c.y * 0.5f) * size);
        for (int y = sy - radius; y <= sy + radius; ++y)
            for (int x = sx - radius; x <= sx + radius; ++x)
                if (x >= 0 && y >= 0 && x < size && y < size) pic.colour[static_cast<size_t>(y) * size + x] = colour;
    };
    if (perspective) {
        pic.save(out);
        return 0;
    }
    for (glm::vec3 w : {glm::vec3(21, 5, -20), glm::vec3(21, 0, -6), glm::vec3(21, 0, -4), glm::vec3(-20, 10, -20),
                        glm::vec3(-7, 5, -20), glm::vec3(14, 5, -20), glm::vec3(-20, 10, -14)})
        mark(w + glm::vec3(0, 20, 0), {1, 0.1f, 0.1f}, 4);
    int starts = config.getInt("gamelogicmanager.startpoints");
    for (int i = 1; i <= starts; ++i) {
        std::string k = "gamelogicmanager.startpoint" + std::to_string(i);
        mark({config.getFloat(k + ".min.x"), 30.0f, config.getFloat(k + ".min.z")}, {0.1f, 1, 0.2f}, 5);
    }
    mark({config.getFloat("maincharacter.position.x"), 30.0f, config.getFloat("maincharacter.position.z")}, {0.2f, 0.5f, 1}, 6);
    pic.save(out);
    return 0;
}

int skyPreview(const std::string& folder, const std::string& out) {
    const char* names[6] = {"front", "back", "left", "right", "top", "bottom"};
    std::vector<std::unique_ptr<Texture>> faces;
    for (const char* n : names) faces.push_back(std::make_unique<Texture>(folder + "/sky_" + n + ".png"));
    // Face planes and texture axes from the sky box table (unit cube): for face
    // k, the point at texture coordinate (u, v) is p00 + u * du + v * dv.
    struct Face { glm::vec3 p00, du, dv; };
    const Face table[6] = {
        {{1, -1, -1}, {-2, 0, 0}, {0, 2, 0}}, {{-1, -1, 1}, {2, 0, 0}, {0, 2, 0}},
        {{-1, -1, -1}, {0, 0, 2}, {0, 2, 0}}, {{1, -1, 1}, {0, 0, -2}, {0, 2, 0}},
        {{1, 1, -1}, {-2, 0, 0}, {0, 0, 2}},  {{1, -1, 1}, {-2, 0, 0}, {0, 0, -2}}};
    const int w = 1440, h = 720;
    Picture pic(w, h, glm::vec3(0));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float azimuth = (static_cast<float>(x) + 0.5f) / w * 6.2831853f;  // 0 looks along -z, growing toward +x
            float elevation = 1.5707963f - (static_cast<float>(y) + 0.5f) / h * 3.1415926f;
            glm::vec3 d(std::cos(elevation) * std::sin(azimuth), std::sin(elevation), -std::cos(elevation) * std::cos(azimuth));
            for (int k = 0; k < 6; ++k) {
                glm::vec3 normal = glm::normalize(glm::cross(table[k].du, table[k].dv));
                glm::vec3 centre = table[k].p00 + 0.5f * table[k].du + 0.5f * table[k].dv;
                float denom = glm::dot(d, centre);
                if (denom <= 0.0f) continue;
                glm::vec3 hit = d * (1.0f / denom);  // on the face plane (|centre| = 1)
                glm::vec3 rel = hit - table[k].p00;
                float u = glm::dot(rel, table[k].du) / 4.0f, v = glm::dot(rel, table[k].dv) / 4.0f;
                if (u < -1e-4f || u > 1.0001f || v < -1e-4f || v > 1.0001f) continue;
                (void)normal;
                pic.colour[static_cast<size_t>(y) * w + x] = glm::vec3(faces[static_cast<size_t>(k)]->sample({u, v}));
                break;
            }
        }
    pic.save(out);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    try {
        FreeImage_Initialise(FALSE);
        if (args.size() >= 5 && args[0] == "character") {
            std::vector<float> times;
            for (size_t i = 4; i < args.size(); ++i) times.push_back(std::stof(args[i]));
            return characterPreview(args[1], args[2], args[3], times);
        }
        if ((args.size() == 4 || args.size() == 5) && args[0] == "map")
            return mapPreview(args[1], args[2], args[3], args.size() == 5 && args[4] == "perspective");
        if (args.size() == 3 && args[0] == "sky") return skyPreview(args[1], args[2]);
        std::cerr << "usage: preview character MODEL ANIMATION OUT.png TIME... | map CONFIG BIN_FOLDER OUT.png [perspective] | sky FOLDER OUT.png\n";
        return 2;
    } catch (const std::exception& e) {
        std::cerr << "preview: " << e.what() << "\n";
        return 1;
    }
}
