#pragma once
// Geometry primitives that append to a MeshData: flat quads, tiled faces
// (one full texture tile per cell, since the game clamps texture coordinates),
// boxes and smooth ellipsoid limbs with joint weights.
#include "MeshData.h"

namespace assetgen {

// A sub-rectangle of the texture in glTF convention (v = 0 at the picture's top).
struct UvRect {
    float u0 = 0.0f, v0 = 0.0f, u1 = 1.0f, v1 = 1.0f;
};

// How the vertices of one body part are bound: to `joint`, blended with
// `parentJoint` near the part's start and with `childJoint` near its end.
struct Binding {
    int joint = -1;  // -1: static mesh, no influences
    int parentJoint = -1;
    int childJoint = -1;
    float blend = 0.25f;  // fraction of the part's length over which weights blend
};

class MeshBuilder {
public:
    explicit MeshBuilder(MeshData& target) : mesh(target) {}

    // A rectangle from `origin` spanned by the unit axes u and v (front side is
    // u x v), cut into cells of `tile` units, each cell showing the whole rect
    // (a partial cell shows the matching part of it). tile <= 0: one cell.
    void tiledFace(glm::vec3 origin, glm::vec3 u, glm::vec3 v, float uLength, float vLength,
                   float tile, UvRect rect, Binding binding = {});

    // Axis-aligned box, every face outward; faces tiled like tiledFace.
    void box(glm::vec3 min, glm::vec3 max, float tile, UvRect rect, Binding binding = {});

    // A box whose top face is tilted: the four top corners are given by the
    // heights at (min.z) and (max.z) along z, or along x when alongX.
    void slopedBox(glm::vec3 min, glm::vec3 max, float topAtLow, float topAtHigh, bool alongX,
                   UvRect rect, Binding binding = {});

    // Smooth ellipsoid from point a to point b with radii rx and rz across the axis.
    void ellipsoid(glm::vec3 a, glm::vec3 b, float rx, float rz, UvRect rect, Binding binding,
                   int rings = 8, int segments = 12);

private:
    void addTriangle(uint32_t i0, uint32_t i1, uint32_t i2);
    uint32_t addVertex(const Vertex& v, const Influence& inf);
    Influence influenceAt(const Binding& binding, float t) const;
    void quad(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec3 p3, glm::vec2 t0, glm::vec2 t1,
              glm::vec2 t2, glm::vec2 t3, const Binding& binding);

    MeshData& mesh;
};

}  // namespace assetgen
