#include "Image.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace assetgen {
namespace {

BYTE toByte(float v) { return static_cast<BYTE>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

void save(const Image& image, const std::filesystem::path& path, bool viewerTopDown) {
    std::filesystem::create_directories(path.parent_path());
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 32);
    if (bitmap == nullptr) throw std::runtime_error("FreeImage_Allocate failed");
    for (int y = 0; y < image.height; ++y) {
        // FreeImage scanline 0 is the bottom row of the picture.
        int scan = viewerTopDown ? image.height - 1 - y : y;
        BYTE* line = FreeImage_GetScanLine(bitmap, scan);
        for (int x = 0; x < image.width; ++x) {
            const glm::vec4& p = image.at(x, y);
            line[x * 4 + FI_RGBA_RED] = toByte(p.r);
            line[x * 4 + FI_RGBA_GREEN] = toByte(p.g);
            line[x * 4 + FI_RGBA_BLUE] = toByte(p.b);
            line[x * 4 + FI_RGBA_ALPHA] = toByte(p.a);
        }
    }
    bool ok = FreeImage_Save(FIF_PNG, bitmap, path.c_str(), PNG_Z_BEST_SPEED) != 0;
    FreeImage_Unload(bitmap);
    if (!ok) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

void savePng(const Image& image, const std::filesystem::path& path) { save(image, path, true); }
void savePngRowsBottomUp(const Image& image, const std::filesystem::path& path) { save(image, path, false); }

uint32_t hash32(uint32_t x) {
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

TileableNoise::TileableNoise(uint32_t s, int p) : seed(s), period(p) {}

float TileableNoise::lattice(int x, int y, int p) const {
    x = ((x % p) + p) % p;
    y = ((y % p) + p) % p;
    uint32_t h = hash32(static_cast<uint32_t>(x) * 73856093U ^ static_cast<uint32_t>(y) * 19349663U ^
                        seed * 83492791U ^ static_cast<uint32_t>(p));
    return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float TileableNoise::valueWithPeriod(float x, float y, int p) const {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float fx = x - static_cast<float>(ix), fy = y - static_cast<float>(iy);
    float sx = fx * fx * (3.0f - 2.0f * fx), sy = fy * fy * (3.0f - 2.0f * fy);
    float a = lattice(ix, iy, p), b = lattice(ix + 1, iy, p);
    float c = lattice(ix, iy + 1, p), d = lattice(ix + 1, iy + 1, p);
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy;
}

float TileableNoise::value(float x, float y) const { return valueWithPeriod(x, y, period); }

float TileableNoise::fractal(float x, float y, int octaves) const {
    float sum = 0.0f, amplitude = 0.5f, total = 0.0f;
    int p = period;
    for (int o = 0; o < octaves; ++o) {
        sum += amplitude * valueWithPeriod(x, y, p);
        total += amplitude;
        x *= 2.0f;
        y *= 2.0f;
        p *= 2;
        amplitude *= 0.5f;
    }
    return sum / total;
}

}  // namespace assetgen
