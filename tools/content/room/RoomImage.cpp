#include "room/RoomImage.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace room {

Image::Image(int w, int h) : width(w), height(h), pixels(std::size_t(w) * std::size_t(h), glm::vec3(0.0f)) {}

namespace {
std::uint32_t mix(std::uint32_t h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

int wrap(int value, int period)
{
    int r = value % period;
    return r < 0 ? r + period : r;
}

BYTE toByte(float value)
{
    return BYTE(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}
} // namespace

float hashUnit(int x, int y, std::uint32_t seed)
{
    std::uint32_t h = mix(std::uint32_t(x) * 0x9e3779b1U ^ mix(std::uint32_t(y) * 0x85ebca77U ^ seed * 0xc2b2ae3dU));
    return float(h >> 8) * (1.0f / 16777216.0f);
}

float smoothstep(float edge0, float edge1, float x)
{
    float t = std::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return t * t * (3.0f - 2.0f * t);
}

float periodicNoise(float x, float y, int periodX, int periodY, std::uint32_t seed)
{
    float fx = std::floor(x), fy = std::floor(y);
    int x0 = int(fx), y0 = int(fy);
    float tx = x - fx, ty = y - fy;
    // Quintic fade keeps the second derivative continuous, so no lattice grid shows in the grain.
    tx = tx * tx * tx * (tx * (tx * 6.0f - 15.0f) + 10.0f);
    ty = ty * ty * ty * (ty * (ty * 6.0f - 15.0f) + 10.0f);
    int xa = wrap(x0, periodX), xb = wrap(x0 + 1, periodX);
    int ya = wrap(y0, periodY), yb = wrap(y0 + 1, periodY);
    float a = hashUnit(xa, ya, seed), b = hashUnit(xb, ya, seed);
    float c = hashUnit(xa, yb, seed), d = hashUnit(xb, yb, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

float periodicFbm(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed)
{
    float sum = 0.0f, weight = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += weight * periodicNoise(x, y, periodX, periodY, seed + std::uint32_t(i) * 1013U);
        total += weight;
        weight *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
        periodX *= 2;
        periodY *= 2;
    }
    return sum / total;
}

bool saveImage(const Image& image, const std::filesystem::path& path)
{
    const bool png = path.extension() == ".png";
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 24);
    if (!bitmap) {
        std::fprintf(stderr, "Cannot allocate the picture for '%s'\n", path.c_str());
        return false;
    }
    for (int y = 0; y < image.height; ++y) {
        BYTE* line = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < image.width; ++x) {
            const glm::vec3& c = image.at(x, y);
            BYTE* pixel = line + 3 * x;
            pixel[FI_RGBA_RED] = toByte(c.r);
            pixel[FI_RGBA_GREEN] = toByte(c.g);
            pixel[FI_RGBA_BLUE] = toByte(c.b);
        }
    }
    // Baseline JPEG without metadata keeps the bytes the same on every run.
    const int flags = png ? PNG_Z_DEFAULT_COMPRESSION : (92 | JPEG_BASELINE | JPEG_SUBSAMPLING_444);
    const bool ok = FreeImage_Save(png ? FIF_PNG : FIF_JPEG, bitmap, path.c_str(), flags) != 0;
    FreeImage_Unload(bitmap);
    if (!ok) {
        std::fprintf(stderr, "Cannot write '%s'\n", path.c_str());
    }
    return ok;
}

} // namespace room
