#pragma once

#include <glm/glm.hpp>

#include <cstdint>
#include <filesystem>
#include <random>
#include <vector>

namespace room {

// An RGB picture in sRGB values 0..1. Row 0 is the bottom row, as FreeImage
// stores scanlines and as the renderer reads v = 0, so texture coordinates
// and pixel rows agree without flipping.
struct Image {
    Image(int width, int height);

    glm::vec3& at(int x, int y) { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }
    const glm::vec3& at(int x, int y) const { return pixels[std::size_t(y) * std::size_t(width) + std::size_t(x)]; }

    int width;
    int height;
    std::vector<glm::vec3> pixels;
};

// Writes a .jpg or .png (by the file's extension); false with a message on failure.
bool saveImage(const Image& image, const std::filesystem::path& path);

// A fixed-seed generator with our own mapping from the raw 32-bit values, so
// the sequence is the same with every standard library.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine(seed) {}
    float unit() { return float(engine() >> 8) * (1.0f / 16777216.0f); } // [0, 1)
    float range(float low, float high) { return low + (high - low) * unit(); }
    int below(int count) { return int(engine() % std::uint32_t(count)); }

private:
    std::mt19937 engine;
};

// Smooth value noise in [0, 1] that repeats every periodX by periodY lattice
// cells, so textures made from it tile without seams.
float periodicNoise(float x, float y, int periodX, int periodY, std::uint32_t seed);
// Sum of octaves of periodicNoise, each twice the frequency of the last and
// still periodic over the same picture; result in [0, 1].
float periodicFbm(float x, float y, int periodX, int periodY, int octaves, std::uint32_t seed);
// A value in [0, 1) fixed by two integers and a seed.
float hashUnit(int x, int y, std::uint32_t seed);

float smoothstep(float edge0, float edge1, float x);

} // namespace room
