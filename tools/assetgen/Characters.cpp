#include "Characters.h"

#include "MeshBuilder.h"
#include "Textures.h"

#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <stdexcept>

namespace assetgen {
namespace {

constexpr float kPi = 3.14159265f;

glm::quat rx(float degrees) { return glm::angleAxis(glm::radians(degrees), glm::vec3(1, 0, 0)); }
glm::quat ry(float degrees) { return glm::angleAxis(glm::radians(degrees), glm::vec3(0, 1, 0)); }
glm::quat rz(float degrees) { return glm::angleAxis(glm::radians(degrees), glm::vec3(0, 0, 1)); }
float positive(float v) { return std::max(0.0f, v); }
float smooth(float v) {
    v = std::clamp(v, 0.0f, 1.0f);
    return v * v * (3.0f - 2.0f * v);
}

// Builds a skeleton from joints given by their rest position in model space.
class SkeletonBuilder {
public:
    explicit SkeletonBuilder(Skeleton& s) : skeleton(s) {}
    int add(const std::string& name, const std::string& parent, glm::vec3 position) {
        Joint joint;
        joint.name = name;
        joint.parent = parent.empty() ? -1 : index.at(parent);
        joint.restTranslation = joint.parent < 0 ? position : position - positions[joint.parent];
        skeleton.joints.push_back(joint);
        positions.push_back(position);
        index[name] = static_cast<int>(skeleton.joints.size()) - 1;
        return index[name];
    }
    int operator[](const std::string& name) const { return index.at(name); }

private:
    Skeleton& skeleton;
    std::vector<glm::vec3> positions;
    std::map<std::string, int> index;
};

// A pose: a rotation per joint and an offset of the first joint from its rest position.
struct Pose {
    std::vector<glm::quat> rotations;
    glm::vec3 rootOffset{0.0f};
    explicit Pose(size_t joints) : rotations(joints, glm::quat(1, 0, 0, 0)) {}
};

Clip sampleClip(const std::string& name, const Skeleton& skeleton, float duration, int intervals,
                const std::function<Pose(float)>& poseAt) {
    Clip clip;
    clip.name = name;
    clip.rotations.resize(skeleton.joints.size());
    for (int k = 0; k <= intervals; ++k) {
        float t = duration * static_cast<float>(k) / static_cast<float>(intervals);
        Pose pose = poseAt(t);
        clip.times.push_back(t);
        for (size_t j = 0; j < skeleton.joints.size(); ++j) clip.rotations[j].push_back(pose.rotations[j]);
        clip.rootTranslations.push_back(skeleton.joints[0].restTranslation + pose.rootOffset);
    }
    return clip;
}

UvRect region(int column, int row) {
    return {column * 0.25f + 0.004f, row * 0.25f + 0.004f, column * 0.25f + 0.246f, row * 0.25f + 0.246f};
}

glm::vec3 mirrorX(glm::vec3 p) { return {-p.x, p.y, p.z}; }

// ---------------------------------------------------------------- player

Pose playerWalk(const SkeletonBuilder& j, size_t count, float t, float period, float lean) {
    Pose pose(count);
    float w = 2.0f * kPi * t / period;
    float s = std::sin(w), c = std::cos(w);
    auto leg = [&](const char* upper, const char* lower, const char* foot, float si, float ci) {
        float hip = -30.0f * si;                               // negative: thigh forward
        float knee = 8.0f + 55.0f * std::pow(positive(ci), 1.5f);  // bends while the leg swings forward
        pose.rotations[j[upper]] = rx(hip);
        pose.rotations[j[lower]] = rx(knee);
        pose.rotations[j[foot]] = rx(std::clamp(-(hip + knee) * 0.6f, -25.0f, 25.0f));
    };
    leg("leg_upper_L", "leg_lower_L", "foot_L", s, c);
    leg("leg_upper_R", "leg_lower_R", "foot_R", -s, -c);
    pose.rotations[j["arm_upper_L"]] = rx(28.0f * s) * rz(7.0f);
    pose.rotations[j["arm_upper_R"]] = rx(-28.0f * s) * rz(-7.0f);
    pose.rotations[j["arm_lower_L"]] = rx(-(30.0f + 30.0f * positive(-s)));
    pose.rotations[j["arm_lower_R"]] = rx(-(30.0f + 30.0f * positive(s)));
    pose.rotations[j["hips"]] = ry(-7.0f * s);
    pose.rotations[j["spine"]] = rx(lean) * ry(4.0f * s);
    pose.rotations[j["chest"]] = ry(7.0f * s);
    pose.rotations[j["head"]] = rx(-lean * 0.8f) * ry(-4.0f * s);
    pose.rootOffset = {0.0f, -0.045f * (0.5f - 0.5f * std::cos(2.0f * w)), 0.0f};
    return pose;
}

// side = +1: step to the character's right (-x); -1: to its left.
Pose playerStrafe(const SkeletonBuilder& j, size_t count, float t, float period, float side) {
    Pose pose(count);
    float w = 2.0f * kPi * t / period;
    float s = std::sin(w);
    const char* lead = side > 0 ? "R" : "L";
    const char* trail = side > 0 ? "L" : "R";
    auto name = [](const char* part, const char* sideName) { return std::string(part) + "_" + sideName; };
    float out = -side;  // z rotation sign that moves a foot toward the stepping side
    float leadLift = positive(s), trailLift = positive(-s);
    pose.rotations[j[name("leg_upper", lead)]] = rz(out * (5.0f + 22.0f * leadLift)) * rx(-20.0f * leadLift);
    pose.rotations[j[name("leg_lower", lead)]] = rx(42.0f * leadLift + 4.0f);
    pose.rotations[j[name("foot", lead)]] = rx(-8.0f * leadLift);
    pose.rotations[j[name("leg_upper", trail)]] = rz(-out * 5.0f + out * 16.0f * trailLift) * rx(-18.0f * trailLift);
    pose.rotations[j[name("leg_lower", trail)]] = rx(38.0f * trailLift + 4.0f);
    pose.rotations[j[name("foot", trail)]] = rx(-8.0f * trailLift);
    pose.rotations[j["arm_upper_L"]] = rz(9.0f + 5.0f * s * side) * rx(-8.0f);
    pose.rotations[j["arm_upper_R"]] = rz(-9.0f + 5.0f * s * side) * rx(-8.0f);
    pose.rotations[j["arm_lower_L"]] = rx(-40.0f);
    pose.rotations[j["arm_lower_R"]] = rx(-40.0f);
    pose.rotations[j["spine"]] = rx(4.0f) * rz(side * 4.0f * s);
    pose.rotations[j["head"]] = rz(-side * 3.0f * s);
    pose.rootOffset = {-side * 0.035f * s, -0.035f * (0.5f - 0.5f * std::cos(2.0f * w)), 0.0f};
    return pose;
}

Pose playerIdle(const SkeletonBuilder& j, size_t count, float t, float period) {
    Pose pose(count);
    float w = 2.0f * kPi * t / period;
    float breath = std::sin(w);
    pose.rotations[j["chest"]] = rx(-2.5f * breath);
    pose.rotations[j["spine"]] = rx(1.5f + 1.0f * breath);
    pose.rotations[j["neck"]] = rx(1.0f * breath);
    pose.rotations[j["head"]] = ry(6.0f * std::sin(w + 0.3f)) * rx(-1.0f * breath);
    pose.rotations[j["arm_upper_L"]] = rz(6.0f + 1.5f * breath) * rx(-3.0f);
    pose.rotations[j["arm_upper_R"]] = rz(-6.0f - 1.5f * breath) * rx(-3.0f);
    pose.rotations[j["arm_lower_L"]] = rx(-14.0f - 2.0f * breath);
    pose.rotations[j["arm_lower_R"]] = rx(-14.0f - 2.0f * breath);
    pose.rotations[j["leg_upper_L"]] = rz(3.0f) * rx(-3.0f);
    pose.rotations[j["leg_upper_R"]] = rz(-3.0f) * rx(-3.0f);
    pose.rotations[j["leg_lower_L"]] = rx(5.0f);
    pose.rotations[j["leg_lower_R"]] = rx(5.0f);
    pose.rotations[j["foot_L"]] = rx(-2.0f);
    pose.rotations[j["foot_R"]] = rx(-2.0f);
    pose.rootOffset = {0.0f, -0.006f * (1.0f + breath), 0.0f};
    return pose;
}

}  // namespace

CharacterAsset buildPlayer() {
    CharacterAsset a;
    a.baseName = "player";
    a.skeleton.rootName = "Soldier";
    SkeletonBuilder j(a.skeleton);
    j.add("hips", "", {0, 0.95f, 0});
    j.add("spine", "hips", {0, 1.08f, 0});
    j.add("chest", "spine", {0, 1.30f, 0});
    j.add("neck", "chest", {0, 1.52f, 0});
    j.add("head", "neck", {0, 1.60f, 0});
    for (const char* side : {"L", "R"}) {
        float sx = std::string(side) == "L" ? 1.0f : -1.0f;
        std::string s(side);
        j.add("arm_upper_" + s, "chest", {sx * 0.20f, 1.45f, 0});
        j.add("arm_lower_" + s, "arm_upper_" + s, {sx * 0.235f, 1.17f, 0});
        j.add("hand_" + s, "arm_lower_" + s, {sx * 0.255f, 0.93f, 0});
    }
    for (const char* side : {"L", "R"}) {
        float sx = std::string(side) == "L" ? 1.0f : -1.0f;
        std::string s(side);
        j.add("leg_upper_" + s, "hips", {sx * 0.10f, 0.93f, 0});
        j.add("leg_lower_" + s, "leg_upper_" + s, {sx * 0.10f, 0.51f, 0});
        j.add("foot_" + s, "leg_lower_" + s, {sx * 0.10f, 0.09f, 0});
    }

    // Atlas: cloth suit, trousers, boots, skin, helmet with visor, metal pack, gloves.
    const Region suit{1, 0}, trousers{2, 0}, boots{3, 0}, skin{0, 0}, helmet{0, 1}, pack{1, 1}, gloves{2, 1};
    paintRegion(a.atlas, suit, {0.28f, 0.50f, 0.72f}, Surface::Cloth, 101);
    paintRegion(a.atlas, trousers, {0.55f, 0.53f, 0.40f}, Surface::Cloth, 102);
    paintRegion(a.atlas, boots, {0.30f, 0.24f, 0.19f}, Surface::Leather, 103);
    paintRegion(a.atlas, skin, {0.86f, 0.68f, 0.55f}, Surface::Skin, 104);
    paintRegion(a.atlas, helmet, {0.80f, 0.80f, 0.76f}, Surface::Metal, 105);
    paintRegion(a.atlas, pack, {0.55f, 0.58f, 0.52f}, Surface::Metal, 106);
    paintRegion(a.atlas, gloves, {0.22f, 0.22f, 0.24f}, Surface::Leather, 107);
    // Visor: front of the head (u = 0.25 faces +z), a little above the middle.
    paintSpot(a.atlas, helmet, 0.25f, 0.55f, 0.13f, 0.10f, {0.15f, 0.75f, 0.95f});
    paintSpot(a.atlas, helmet, 0.25f, 0.30f, 0.07f, 0.08f, {0.86f, 0.68f, 0.55f});  // chin

    MeshBuilder mb(a.mesh);
    auto uv = [](Region r) { return region(r.column, r.row); };
    mb.ellipsoid({0, 0.84f, 0}, {0, 1.10f, 0}, 0.16f, 0.11f, uv(trousers), {j["hips"], -1, j["spine"]});
    mb.ellipsoid({0, 1.02f, 0}, {0, 1.34f, 0}, 0.145f, 0.10f, uv(suit), {j["spine"], j["hips"], j["chest"]});
    mb.ellipsoid({0, 1.22f, 0}, {0, 1.56f, 0}, 0.20f, 0.125f, uv(suit), {j["chest"], j["spine"], -1});
    mb.ellipsoid({0, 1.48f, 0}, {0, 1.64f, 0}, 0.055f, 0.055f, uv(skin), {j["neck"], j["chest"], j["head"]});
    mb.ellipsoid({0, 1.58f, 0.01f}, {0, 1.82f, 0.01f}, 0.10f, 0.115f, uv(helmet), {j["head"], j["neck"], -1}, 10, 16);
    mb.box({-0.15f, 1.12f, -0.24f}, {0.15f, 1.46f, -0.11f}, 0.0f, uv(pack), {j["chest"]});
    for (float sx : {1.0f, -1.0f}) {
        std::string s = sx > 0 ? "L" : "R";
        auto side = [sx](glm::vec3 p) { return sx > 0 ? p : mirrorX(p); };
        mb.ellipsoid(side({0.20f, 1.48f, 0}), side({0.235f, 1.15f, 0}), 0.062f, 0.062f, uv(suit),
                     {j["arm_upper_" + s], j["chest"], j["arm_lower_" + s]});
        mb.ellipsoid(side({0.235f, 1.19f, 0}), side({0.255f, 0.93f, 0}), 0.05f, 0.05f, uv(suit),
                     {j["arm_lower_" + s], j["arm_upper_" + s], j["hand_" + s]});
        mb.ellipsoid(side({0.255f, 0.96f, 0}), side({0.26f, 0.80f, 0.01f}), 0.04f, 0.05f, uv(gloves),
                     {j["hand_" + s], j["arm_lower_" + s], -1});
        mb.ellipsoid(side({0.10f, 0.97f, 0}), side({0.10f, 0.49f, 0}), 0.085f, 0.09f, uv(trousers),
                     {j["leg_upper_" + s], j["hips"], j["leg_lower_" + s]});
        mb.ellipsoid(side({0.10f, 0.53f, 0}), side({0.10f, 0.07f, 0}), 0.066f, 0.07f, uv(boots),
                     {j["leg_lower_" + s], j["leg_upper_" + s], j["foot_" + s]});
        glm::vec3 f0 = side({0.045f, 0.0f, -0.07f}), f1 = side({0.155f, 0.10f, 0.17f});
        mb.box(glm::min(f0, f1), glm::max(f0, f1), 0.0f, uv(boots), {j["foot_" + s]});
    }

    size_t n = a.skeleton.joints.size();
    a.clips.emplace_back("player_idle", sampleClip("idle", a.skeleton, 3.0f, 30,
                                                   [&](float t) { return playerIdle(j, n, t, 3.0f); }));
    a.clips.emplace_back("player_walk_forward",
                         sampleClip("walk_forward", a.skeleton, 0.8f, 24,
                                    [&](float t) { return playerWalk(j, n, t, 0.8f, 7.0f); }));
    a.clips.emplace_back("player_walk_backward",
                         sampleClip("walk_backward", a.skeleton, 0.9f, 24,
                                    [&](float t) { return playerWalk(j, n, 0.9f - t, 0.9f, -3.0f); }));
    a.clips.emplace_back("player_strafe_right",
                         sampleClip("strafe_right", a.skeleton, 0.8f, 24,
                                    [&](float t) { return playerStrafe(j, n, t, 0.8f, 1.0f); }));
    a.clips.emplace_back("player_strafe_left",
                         sampleClip("strafe_left", a.skeleton, 0.8f, 24,
                                    [&](float t) { return playerStrafe(j, n, t, 0.8f, -1.0f); }));
    return a;
}

// ---------------------------------------------------------------- brute

CharacterAsset buildBrute() {
    CharacterAsset a;
    a.baseName = "brute";
    a.skeleton.rootName = "Brute";
    SkeletonBuilder j(a.skeleton);
    j.add("hips", "", {0, 0.80f, 0});
    j.add("spine", "hips", {0, 0.95f, 0.02f});
    j.add("chest", "spine", {0, 1.18f, 0.10f});
    j.add("neck", "chest", {0, 1.36f, 0.25f});
    j.add("head", "neck", {0, 1.40f, 0.32f});
    for (float sx : {1.0f, -1.0f}) {
        std::string s = sx > 0 ? "L" : "R";
        j.add("arm_upper_" + s, "chest", {sx * 0.38f, 1.30f, 0.16f});
        j.add("arm_lower_" + s, "arm_upper_" + s, {sx * 0.46f, 0.92f, 0.18f});
        j.add("hand_" + s, "arm_lower_" + s, {sx * 0.48f, 0.57f, 0.20f});
    }
    for (float sx : {1.0f, -1.0f}) {
        std::string s = sx > 0 ? "L" : "R";
        j.add("leg_upper_" + s, "hips", {sx * 0.17f, 0.78f, 0});
        j.add("leg_lower_" + s, "leg_upper_" + s, {sx * 0.19f, 0.42f, 0.02f});
        j.add("foot_" + s, "leg_lower_" + s, {sx * 0.20f, 0.10f, 0});
    }
    const Region hide{0, 0}, darkHide{1, 0}, cloth{2, 0}, bone{3, 0}, head{0, 1};
    paintRegion(a.atlas, hide, {0.72f, 0.26f, 0.20f}, Surface::Hide, 201);
    paintRegion(a.atlas, darkHide, {0.50f, 0.17f, 0.14f}, Surface::Hide, 202);
    paintRegion(a.atlas, cloth, {0.32f, 0.27f, 0.22f}, Surface::Leather, 203);
    paintRegion(a.atlas, bone, {0.88f, 0.84f, 0.70f}, Surface::Bone, 204);
    paintRegion(a.atlas, head, {0.66f, 0.23f, 0.18f}, Surface::Hide, 205);
    // Glowing yellow eyes on the front of the head (u = 0.25 faces forward).
    paintSpot(a.atlas, head, 0.21f, 0.62f, 0.025f, 0.05f, {1.0f, 0.9f, 0.2f});
    paintSpot(a.atlas, head, 0.29f, 0.62f, 0.025f, 0.05f, {1.0f, 0.9f, 0.2f});
    paintSpot(a.atlas, head, 0.25f, 0.35f, 0.06f, 0.05f, {0.25f, 0.05f, 0.05f});  // mouth

    MeshBuilder mb(a.mesh);
    auto uv = [](Region r) { return region(r.column, r.row); };
    mb.ellipsoid({0, 0.66f, 0}, {0, 0.98f, 0}, 0.26f, 0.20f, uv(cloth), {j["hips"], -1, j["spine"]});
    mb.ellipsoid({0, 0.86f, 0.02f}, {0, 1.22f, 0.08f}, 0.30f, 0.26f, uv(hide), {j["spine"], j["hips"], j["chest"]});
    mb.ellipsoid({0, 1.02f, 0.04f}, {0, 1.44f, 0.22f}, 0.40f, 0.28f, uv(hide), {j["chest"], j["spine"], -1});
    mb.ellipsoid({0, 1.15f, -0.08f}, {0, 1.45f, 0.05f}, 0.30f, 0.20f, uv(darkHide), {j["chest"]});
    mb.ellipsoid({0, 1.30f, 0.20f}, {0, 1.44f, 0.32f}, 0.12f, 0.12f, uv(darkHide), {j["neck"], j["chest"], j["head"]});
    mb.ellipsoid({0, 1.32f, 0.32f}, {0, 1.55f, 0.40f}, 0.14f, 0.15f, uv(head), {j["head"], j["neck"], -1}, 10, 16);
    for (float sx : {1.0f, -1.0f}) {
        std::string s = sx > 0 ? "L" : "R";
        auto side = [sx](glm::vec3 p) { return sx > 0 ? p : mirrorX(p); };
        mb.ellipsoid(side({0.09f, 1.48f, 0.36f}), side({0.20f, 1.62f, 0.30f}), 0.035f, 0.035f, uv(bone), {j["head"]});
        mb.ellipsoid(side({0.36f, 1.36f, 0.15f}), side({0.46f, 0.90f, 0.18f}), 0.13f, 0.12f, uv(hide),
                     {j["arm_upper_" + s], j["chest"], j["arm_lower_" + s]});
        mb.ellipsoid(side({0.46f, 0.96f, 0.18f}), side({0.48f, 0.57f, 0.20f}), 0.11f, 0.11f, uv(hide),
                     {j["arm_lower_" + s], j["arm_upper_" + s], j["hand_" + s]});
        mb.ellipsoid(side({0.48f, 0.62f, 0.20f}), side({0.49f, 0.40f, 0.22f}), 0.09f, 0.10f, uv(darkHide),
                     {j["hand_" + s], j["arm_lower_" + s], -1});
        mb.ellipsoid(side({0.17f, 0.84f, 0}), side({0.19f, 0.40f, 0.02f}), 0.13f, 0.13f, uv(darkHide),
                     {j["leg_upper_" + s], j["hips"], j["leg_lower_" + s]});
        mb.ellipsoid(side({0.19f, 0.46f, 0.02f}), side({0.20f, 0.08f, 0}), 0.10f, 0.10f, uv(hide),
                     {j["leg_lower_" + s], j["leg_upper_" + s], j["foot_" + s]});
        glm::vec3 f0 = side({0.09f, 0.0f, -0.08f}), f1 = side({0.31f, 0.12f, 0.20f});
        mb.box(glm::min(f0, f1), glm::max(f0, f1), 0.0f, uv(bone), {j["foot_" + s]});
    }

    size_t n = a.skeleton.joints.size();
    auto walk = [&](float t) {
        Pose pose(n);
        float w = 2.0f * kPi * t / 1.1f;
        float s = std::sin(w), c = std::cos(w);
        auto leg = [&](const std::string& side, float si, float ci) {
            float hip = -22.0f * si;
            float knee = 14.0f + 40.0f * std::pow(positive(ci), 1.5f);
            pose.rotations[j["leg_upper_" + side]] = rx(hip);
            pose.rotations[j["leg_lower_" + side]] = rx(knee);
            pose.rotations[j["foot_" + side]] = rx(std::clamp(-(hip + knee) * 0.6f, -25.0f, 25.0f));
        };
        leg("L", s, c);
        leg("R", -s, -c);
        pose.rotations[j["arm_upper_L"]] = rx(26.0f * s) * rz(10.0f);
        pose.rotations[j["arm_upper_R"]] = rx(-26.0f * s) * rz(-10.0f);
        pose.rotations[j["arm_lower_L"]] = rx(-(20.0f + 25.0f * positive(-s)));
        pose.rotations[j["arm_lower_R"]] = rx(-(20.0f + 25.0f * positive(s)));
        pose.rotations[j["hips"]] = ry(-8.0f * s) * rz(4.0f * s);
        pose.rotations[j["spine"]] = rx(8.0f + 3.0f * std::cos(2.0f * w)) * rz(-6.0f * s);
        pose.rotations[j["chest"]] = ry(8.0f * s);
        pose.rotations[j["head"]] = rx(-14.0f) * rz(3.0f * s);
        pose.rootOffset = {0.0f, -0.05f * (0.5f - 0.5f * std::cos(2.0f * w)), 0.0f};
        return pose;
    };
    auto death = [&](float t) {
        Pose pose(n);
        float buckle = smooth(t / 0.45f);           // knees give way
        float topple = smooth((t - 0.35f) / 0.95f);  // falls forward onto its face
        pose.rotations[j["hips"]] = rx(76.0f * topple);
        for (const std::string side : {"L", "R"}) {
            float sx = side == "L" ? 1.0f : -1.0f;
            pose.rotations[j["leg_upper_" + side]] = rx(-50.0f * buckle * (1.0f - topple) - 5.0f * topple) * rz(sx * 8.0f * topple);
            pose.rotations[j["leg_lower_" + side]] = rx(75.0f * buckle * (1.0f - topple) + 12.0f * topple);
            pose.rotations[j["arm_upper_" + side]] = rx(-60.0f * buckle * (1.0f - topple)) * rz(sx * (10.0f + 25.0f * topple));
            pose.rotations[j["arm_lower_" + side]] = rx(-25.0f * (1.0f - topple));
        }
        pose.rotations[j["spine"]] = rx(8.0f * (1.0f - topple));
        pose.rotations[j["head"]] = rx(-14.0f - 45.0f * topple) * ry(35.0f * topple);
        pose.rootOffset = {0.0f, -0.22f * buckle - 0.10f * topple, 0.45f * topple};
        return pose;
    };
    a.clips.emplace_back("brute_walk", sampleClip("brute_walk", a.skeleton, 1.1f, 24, walk));
    a.clips.emplace_back("brute_death", sampleClip("brute_death", a.skeleton, 2.5f, 50, death));
    return a;
}

// ---------------------------------------------------------------- crawler

CharacterAsset buildCrawler() {
    CharacterAsset a;
    a.baseName = "crawler";
    a.skeleton.rootName = "Crawler";
    SkeletonBuilder j(a.skeleton);
    j.add("body", "", {0, 0.55f, 0.05f});
    j.add("abdomen", "body", {0, 0.60f, -0.14f});
    j.add("head", "body", {0, 0.56f, 0.26f});
    const float legZ[3] = {0.22f, 0.06f, -0.10f};
    const float kneeDz[3] = {0.12f, 0.0f, -0.12f};
    const float tipDz[3] = {0.30f, 0.0f, -0.30f};
    for (int i = 0; i < 3; ++i)
        for (float sx : {1.0f, -1.0f}) {
            std::string s = std::to_string(i) + (sx > 0 ? "_L" : "_R");
            j.add("leg" + s + "_upper", "body", {sx * 0.14f, 0.55f, legZ[i]});
            j.add("leg" + s + "_lower", "leg" + s + "_upper", {sx * 0.42f, 0.80f, legZ[i] + kneeDz[i]});
        }
    const Region shell{0, 0}, legs{1, 0}, belly{2, 0}, head{0, 1};
    paintRegion(a.atlas, shell, {0.36f, 0.70f, 0.26f}, Surface::Chitin, 301);
    paintRegion(a.atlas, legs, {0.20f, 0.42f, 0.16f}, Surface::Chitin, 302);
    paintRegion(a.atlas, belly, {0.55f, 0.78f, 0.30f}, Surface::Chitin, 303);
    paintRegion(a.atlas, head, {0.28f, 0.55f, 0.22f}, Surface::Chitin, 304);
    // Two pairs of red eyes on the upper front of the head: the head lies along +z, so its
    // front is the ellipsoid's end (t close to 1) and u = 0.75 is its top.
    for (float u : {0.70f, 0.80f}) {
        paintSpot(a.atlas, head, u, 0.82f, 0.03f, 0.06f, {1.0f, 0.15f, 0.10f});
        paintSpot(a.atlas, head, u + (u < 0.75f ? -0.06f : 0.06f), 0.72f, 0.022f, 0.045f, {1.0f, 0.15f, 0.10f});
    }

    MeshBuilder mb(a.mesh);
    auto uv = [](Region r) { return region(r.column, r.row); };
    mb.ellipsoid({0, 0.55f, -0.12f}, {0, 0.55f, 0.28f}, 0.17f, 0.11f, uv(shell), {j["body"]});
    mb.ellipsoid({0, 0.62f, -0.12f}, {0, 0.62f, -0.68f}, 0.24f, 0.20f, uv(belly), {j["abdomen"], j["body"], -1});
    mb.ellipsoid({0, 0.56f, 0.22f}, {0, 0.55f, 0.48f}, 0.11f, 0.09f, uv(head), {j["head"], j["body"], -1}, 10, 16);
    for (float sx : {1.0f, -1.0f}) {
        auto side = [sx](glm::vec3 p) { return sx > 0 ? p : mirrorX(p); };
        mb.ellipsoid(side({0.05f, 0.50f, 0.46f}), side({0.07f, 0.40f, 0.57f}), 0.022f, 0.022f, uv(legs), {j["head"]});
    }
    for (int i = 0; i < 3; ++i)
        for (float sx : {1.0f, -1.0f}) {
            std::string s = std::to_string(i) + (sx > 0 ? "_L" : "_R");
            auto side = [sx](glm::vec3 p) { return sx > 0 ? p : mirrorX(p); };
            glm::vec3 hip = side({0.14f, 0.55f, legZ[i]});
            glm::vec3 knee = side({0.42f, 0.80f, legZ[i] + kneeDz[i]});
            glm::vec3 tip = side({0.66f, 0.02f, legZ[i] + tipDz[i]});
            mb.ellipsoid(hip, knee + (knee - hip) * 0.08f, 0.038f, 0.038f, uv(legs),
                         {j["leg" + s + "_upper"], j["body"], j["leg" + s + "_lower"], 0.2f}, 6, 8);
            mb.ellipsoid(knee - (tip - knee) * 0.05f, tip, 0.028f, 0.028f, uv(legs),
                         {j["leg" + s + "_lower"], j["leg" + s + "_upper"], -1, 0.15f}, 8, 8);
        }

    size_t n = a.skeleton.joints.size();
    auto leg = [&](int i, bool left, const char* part) {
        return j["leg" + std::to_string(i) + (left ? "_L_" : "_R_") + part];
    };
    auto walk = [&](float t) {
        Pose pose(n);
        float w = 2.0f * kPi * t / 0.6f;
        for (int i = 0; i < 3; ++i)
            for (bool left : {true, false}) {
                // Alternating tripods: front and back legs of one side step with the middle of the other.
                bool groupA = (i % 2 == 0) == left;
                float phase = w + (groupA ? 0.0f : kPi);
                float swing = 26.0f * std::sin(phase);  // forward while the sine rises
                float lift = 30.0f * positive(std::cos(phase));
                float sign = left ? 1.0f : -1.0f;
                pose.rotations[leg(i, left, "upper")] = ry(-sign * swing) * rz(sign * lift);
                pose.rotations[leg(i, left, "lower")] = rz(-sign * 0.4f * lift);
            }
        pose.rotations[j["abdomen"]] = ry(6.0f * std::sin(w)) * rx(-3.0f * std::cos(2.0f * w));
        pose.rotations[j["head"]] = ry(-4.0f * std::sin(w));
        pose.rootOffset = {0.0f, 0.025f * std::cos(2.0f * w), 0.0f};
        return pose;
    };
    auto death = [&](float t) {
        Pose pose(n);
        float collapse = smooth(t / 0.8f);
        for (int i = 0; i < 3; ++i)
            for (bool left : {true, false}) {
                float sign = left ? 1.0f : -1.0f;
                pose.rotations[leg(i, left, "upper")] = rz(-sign * 38.0f * collapse) * ry(sign * 8.0f * collapse * (i - 1));
                pose.rotations[leg(i, left, "lower")] = rz(sign * 108.0f * collapse);
            }
        pose.rotations[j["body"]] = rz(18.0f * collapse) * rx(6.0f * collapse);
        pose.rotations[j["abdomen"]] = rx(14.0f * collapse);
        pose.rotations[j["head"]] = rx(20.0f * collapse);
        pose.rootOffset = {0.0f, -0.36f * collapse, 0.0f};
        return pose;
    };
    a.clips.emplace_back("crawler_walk", sampleClip("crawler_walk", a.skeleton, 0.6f, 24, walk));
    a.clips.emplace_back("crawler_death", sampleClip("crawler_death", a.skeleton, 2.5f, 50, death));
    return a;
}

}  // namespace assetgen
