#include "Icons.h"

#include "Image.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace assetgen {
namespace {

// The picture is described in unit coordinates (x right, y down, 0..1) and
// sampled 4 x 4 times per pixel, so every size is drawn from the same shapes
// with smooth edges. Lines keep at least `minLine` pixels of width, so the
// crosshair still reads at 16 pixels.
struct IconShapes {
    float pixel;  // one pixel in unit coordinates

    float line(float unitWidth, float minPixels) const { return std::max(unitWidth, minPixels * pixel); }

    static bool inRoundedSquare(glm::vec2 p, float inset, float radius) {
        glm::vec2 q = glm::abs(p - glm::vec2(0.5f)) - glm::vec2(0.5f - inset - radius);
        return glm::length(glm::max(q, glm::vec2(0.0f))) <= radius;
    }

    // Layers from back to front; the first that covers the point decides.
    glm::vec4 sample(glm::vec2 p) const {
        if (!inRoundedSquare(p, 0.02f, 0.17f)) return glm::vec4(0.0f);

        const glm::vec2 centre(0.46f, 0.58f);
        const float ring = 0.21f, ringWidth = line(0.05f, 1.4f), tickWidth = line(0.045f, 1.4f);
        float r = glm::distance(p, centre);
        glm::vec2 d = glm::abs(p - centre);
        bool ringHit = std::abs(r - ring) <= ringWidth * 0.5f;
        bool tick = (d.x <= tickWidth * 0.5f || d.y <= tickWidth * 0.5f) && r >= ring * 0.42f && r <= ring * 1.45f;
        bool dot = r <= line(0.03f, 0.9f);
        const glm::vec4 red(0.93f, 0.16f, 0.12f, 1.0f);
        if (ringHit || tick || dot) return red;
        // A dark rim round the crosshair keeps it apart from the sky and moon.
        bool rim = std::abs(r - ring) <= ringWidth * 0.5f + line(0.02f, 0.8f) ||
                   ((d.x <= tickWidth * 0.5f + line(0.02f, 0.8f) || d.y <= tickWidth * 0.5f + line(0.02f, 0.8f)) &&
                    r >= ring * 0.36f && r <= ring * 1.52f);
        if (rim) return glm::vec4(0.02f, 0.02f, 0.05f, 1.0f);

        // The moon: a disc with a smaller disc taken away, a crescent.
        const glm::vec2 moon(0.72f, 0.28f);
        if (glm::distance(p, moon) <= 0.15f && glm::distance(p, moon + glm::vec2(-0.07f, -0.045f)) > 0.125f)
            return glm::vec4(0.98f, 0.94f, 0.74f, 1.0f);

        // A hill along the bottom.
        float hill = 0.8f - 0.06f * std::sin(p.x * 5.5f + 0.6f);
        if (p.y >= hill) return glm::vec4(0.04f, 0.06f, 0.09f, 1.0f);

        // Stars, fixed places; each at least about a pixel across. Below 32
        // pixels they would only be noise.
        static const std::array<glm::vec3, 6> stars = {{
            {0.18f, 0.17f, 0.018f}, {0.36f, 0.1f, 0.013f}, {0.5f, 0.24f, 0.012f},
            {0.12f, 0.4f, 0.012f}, {0.88f, 0.55f, 0.013f}, {0.9f, 0.1f, 0.011f},
        }};
        if (pixel <= 1.0f / 32.0f)
            for (const glm::vec3& s : stars)
                if (glm::distance(p, glm::vec2(s.x, s.y)) <= line(s.z, 0.6f)) return glm::vec4(0.92f, 0.93f, 1.0f, 1.0f);

        // The sky: deep blue at the top, lighter towards the horizon.
        float t = std::clamp(p.y / 0.8f, 0.0f, 1.0f);
        glm::vec3 sky = glm::mix(glm::vec3(0.02f, 0.03f, 0.12f), glm::vec3(0.12f, 0.16f, 0.34f), t * t);
        return glm::vec4(sky, 1.0f);
    }
};

Image drawIcon(int size) {
    Image image(size, size);
    IconShapes shapes{1.0f / static_cast<float>(size)};
    const int n = 4;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            // Colours are weighted by their coverage so that edges against the
            // transparent corners do not darken.
            glm::vec3 colour(0.0f);
            float alpha = 0.0f;
            for (int j = 0; j < n; ++j)
                for (int i = 0; i < n; ++i) {
                    glm::vec2 p((static_cast<float>(x) + (static_cast<float>(i) + 0.5f) / n) * shapes.pixel,
                                (static_cast<float>(y) + (static_cast<float>(j) + 0.5f) / n) * shapes.pixel);
                    glm::vec4 s = shapes.sample(p);
                    colour += glm::vec3(s) * s.a;
                    alpha += s.a;
                }
            image.at(x, y) = alpha > 0.0f ? glm::vec4(colour / alpha, alpha / (n * n)) : glm::vec4(0.0f);
        }
    return image;
}

}  // namespace

void writeIcons(const std::filesystem::path& folder) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        std::string dimension = std::to_string(size) + "x" + std::to_string(size);
        savePng(drawIcon(size), folder / "hicolor" / dimension / "apps" / "night-shooter.png");
    }
}

}  // namespace assetgen
