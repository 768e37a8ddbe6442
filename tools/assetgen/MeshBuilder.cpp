#include "MeshBuilder.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {

uint32_t MeshBuilder::addVertex(const Vertex& v, const Influence& inf) {
    mesh.vertices.push_back(v);
    if (inf.weights[0] > 0.0f) mesh.influences.push_back(inf);
    if (!mesh.influences.empty() && mesh.influences.size() != mesh.vertices.size())
        throw std::logic_error("static and skinned parts mixed in one mesh");
    if (mesh.vertices.size() > 65536) throw std::runtime_error("mesh exceeds 65536 vertices");
    return static_cast<uint32_t>(mesh.vertices.size() - 1);
}

void MeshBuilder::addTriangle(uint32_t i0, uint32_t i1, uint32_t i2) {
    // Keep the winding counter-clockwise as seen from the side the normals face.
    const Vertex& a = mesh.vertices[i0];
    const Vertex& b = mesh.vertices[i1];
    const Vertex& c = mesh.vertices[i2];
    glm::vec3 faceNormal = glm::cross(b.position - a.position, c.position - a.position);
    if (glm::dot(faceNormal, a.normal + b.normal + c.normal) < 0.0f) std::swap(i1, i2);
    mesh.indices.insert(mesh.indices.end(),
                        {static_cast<uint16_t>(i0), static_cast<uint16_t>(i1), static_cast<uint16_t>(i2)});
}

Influence MeshBuilder::influenceAt(const Binding& binding, float t) const {
    Influence inf;
    if (binding.joint < 0) return inf;
    float parentWeight = 0.0f, childWeight = 0.0f;
    if (binding.parentJoint >= 0 && t < binding.blend) parentWeight = 0.5f * (1.0f - t / binding.blend);
    if (binding.childJoint >= 0 && t > 1.0f - binding.blend)
        childWeight = 0.5f * (1.0f - (1.0f - t) / binding.blend);
    int slot = 0;
    inf.joints[slot] = static_cast<uint16_t>(binding.joint);
    inf.weights[slot++] = 1.0f - parentWeight - childWeight;
    if (parentWeight > 0.0f) {
        inf.joints[slot] = static_cast<uint16_t>(binding.parentJoint);
        inf.weights[slot++] = parentWeight;
    }
    if (childWeight > 0.0f) {
        inf.joints[slot] = static_cast<uint16_t>(binding.childJoint);
        inf.weights[slot++] = childWeight;
    }
    return inf;
}

void MeshBuilder::quad(glm::vec3 p0, glm::vec3 p1, glm::vec3 p2, glm::vec3 p3, glm::vec2 t0,
                       glm::vec2 t1, glm::vec2 t2, glm::vec2 t3, const Binding& binding) {
    glm::vec3 n = glm::normalize(glm::cross(p1 - p0, p3 - p0));
    Influence inf = influenceAt(binding, 0.5f);
    uint32_t i0 = addVertex({p0, n, t0}, inf);
    uint32_t i1 = addVertex({p1, n, t1}, inf);
    uint32_t i2 = addVertex({p2, n, t2}, inf);
    uint32_t i3 = addVertex({p3, n, t3}, inf);
    addTriangle(i0, i1, i2);
    addTriangle(i0, i2, i3);
}

void MeshBuilder::tiledFace(glm::vec3 origin, glm::vec3 u, glm::vec3 v, float uLength, float vLength,
                            float tile, UvRect rect, Binding binding) {
    float uTile = tile > 0.0f ? tile : uLength;
    float vTile = tile > 0.0f ? tile : vLength;
    for (float us = 0.0f; us < uLength - 1e-4f; us += uTile) {
        float ue = std::min(us + uTile, uLength);
        for (float vs = 0.0f; vs < vLength - 1e-4f; vs += vTile) {
            float ve = std::min(vs + vTile, vLength);
            auto tex = [&](float a, float b) {
                // a, b: fractions of one cell; the face's v axis runs up the picture.
                return glm::vec2(rect.u0 + a * (rect.u1 - rect.u0), rect.v1 - b * (rect.v1 - rect.v0));
            };
            float a1 = (ue - us) / uTile, b1 = (ve - vs) / vTile;
            quad(origin + u * us + v * vs, origin + u * ue + v * vs, origin + u * ue + v * ve,
                 origin + u * us + v * ve, tex(0, 0), tex(a1, 0), tex(a1, b1), tex(0, b1), binding);
        }
    }
}

void MeshBuilder::box(glm::vec3 lo, glm::vec3 hi, float tile, UvRect rect, Binding binding) {
    glm::vec3 size = hi - lo;
    const glm::vec3 X(1, 0, 0), Y(0, 1, 0), Z(0, 0, 1);
    tiledFace({lo.x, hi.y, hi.z}, X, -Z, size.x, size.z, tile, rect, binding);  // top
    tiledFace({lo.x, lo.y, lo.z}, X, Z, size.x, size.z, tile, rect, binding);   // bottom
    tiledFace({lo.x, lo.y, hi.z}, X, Y, size.x, size.y, tile, rect, binding);   // +z
    tiledFace({hi.x, lo.y, lo.z}, -X, Y, size.x, size.y, tile, rect, binding);  // -z
    tiledFace({hi.x, lo.y, hi.z}, -Z, Y, size.z, size.y, tile, rect, binding);  // +x
    tiledFace({lo.x, lo.y, lo.z}, Z, Y, size.z, size.y, tile, rect, binding);   // -x
}

void MeshBuilder::slopedBox(glm::vec3 lo, glm::vec3 hi, float topAtLow, float topAtHigh, bool alongX,
                            UvRect rect, Binding binding) {
    // Corners: bottom at lo.y; the top height depends on the coordinate along the slope.
    auto top = [&](float x, float z) {
        float t = alongX ? (x - lo.x) / (hi.x - lo.x) : (z - lo.z) / (hi.z - lo.z);
        return topAtLow + t * (topAtHigh - topAtLow);
    };
    glm::vec3 b[4] = {{lo.x, lo.y, lo.z}, {hi.x, lo.y, lo.z}, {hi.x, lo.y, hi.z}, {lo.x, lo.y, hi.z}};
    glm::vec3 t[4];
    for (int i = 0; i < 4; ++i) t[i] = {b[i].x, top(b[i].x, b[i].z), b[i].z};
    glm::vec2 c0(rect.u0, rect.v1), c1(rect.u1, rect.v1), c2(rect.u1, rect.v0), c3(rect.u0, rect.v0);
    quad(t[3], t[2], t[1], t[0], c0, c1, c2, c3, binding);  // top
    quad(b[0], b[1], b[2], b[3], c0, c1, c2, c3, binding);  // bottom
    for (int i = 0; i < 4; ++i) {
        int j = (i + 1) % 4;
        quad(b[j], b[i], t[i], t[j], c0, c1, c2, c3, binding);
    }
}

void MeshBuilder::ellipsoid(glm::vec3 a, glm::vec3 b, float rx, float rz, UvRect rect, Binding binding,
                            int rings, int segments) {
    glm::vec3 axis = b - a;
    float length = glm::length(axis);
    axis /= length;
    glm::vec3 reference = std::fabs(axis.x) > 0.9f ? glm::vec3(0, 0, 1) : glm::vec3(1, 0, 0);
    glm::vec3 e1 = glm::normalize(reference - axis * glm::dot(reference, axis));
    glm::vec3 e2 = glm::cross(e1, axis);
    glm::vec3 centre = (a + b) * 0.5f;
    float half = length * 0.5f;
    const float pi = 3.14159265f;
    uint32_t first = static_cast<uint32_t>(mesh.vertices.size());
    for (int r = 0; r <= rings; ++r) {
        float phi = pi * static_cast<float>(r) / static_cast<float>(rings);
        float t = (1.0f - std::cos(phi)) * 0.5f;
        Influence inf = influenceAt(binding, t);
        for (int s = 0; s <= segments; ++s) {
            float theta = 2.0f * pi * static_cast<float>(s) / static_cast<float>(segments);
            float along = -std::cos(phi) * half;
            float across1 = std::sin(phi) * rx * std::cos(theta);
            float across2 = std::sin(phi) * rz * std::sin(theta);
            Vertex v;
            v.position = centre + axis * along + e1 * across1 + e2 * across2;
            glm::vec3 n = axis * (along / (half * half)) + e1 * (across1 / (rx * rx)) + e2 * (across2 / (rz * rz));
            if (r == 0) n = -axis;
            if (r == rings) n = axis;
            v.normal = glm::normalize(n);
            v.uv = {rect.u0 + (rect.u1 - rect.u0) * static_cast<float>(s) / static_cast<float>(segments),
                    rect.v0 + (rect.v1 - rect.v0) * t};
            addVertex(v, inf);
        }
    }
    const uint32_t row = static_cast<uint32_t>(segments + 1);
    for (int r = 0; r < rings; ++r) {
        for (int s = 0; s < segments; ++s) {
            uint32_t i00 = first + static_cast<uint32_t>(r) * row + static_cast<uint32_t>(s);
            uint32_t i01 = i00 + 1, i10 = i00 + row, i11 = i10 + 1;
            if (r != 0) addTriangle(i00, i10, i01);
            if (r != rings - 1) addTriangle(i01, i10, i11);
        }
    }
}

}  // namespace assetgen
