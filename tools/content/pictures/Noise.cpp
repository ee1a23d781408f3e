#include "pictures/Noise.h"

#include <cmath>

namespace noise {

std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z)
{
    std::uint32_t h = seed * 0x9E3779B9u;
    const std::uint32_t inputs[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                    static_cast<std::uint32_t>(z)};
    for (std::uint32_t v : inputs) {
        h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
        // Final mixer of MurmurHash3: every input bit reaches every output bit.
        h ^= h >> 16;
        h *= 0x85EBCA6Bu;
        h ^= h >> 13;
        h *= 0xC2B2AE35u;
        h ^= h >> 16;
    }
    return h;
}

float unit(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z)
{
    return static_cast<float>(hash(x, y, seed, z) >> 8) * (1.0f / 16777216.0f);
}

namespace {

int wrap(int i, int period)
{
    int r = i % period;
    return r < 0 ? r + period : r;
}

float smooth(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

float periodicValue(float x, float y, int period, std::uint32_t seed)
{
    float fx = std::floor(x);
    float fy = std::floor(y);
    int x0 = static_cast<int>(fx);
    int y0 = static_cast<int>(fy);
    float tx = smooth(x - fx);
    float ty = smooth(y - fy);
    int xa = wrap(x0, period), xb = wrap(x0 + 1, period);
    int ya = wrap(y0, period), yb = wrap(y0 + 1, period);
    float a = unit(xa, ya, seed), b = unit(xb, ya, seed);
    float c = unit(xa, yb, seed), d = unit(xb, yb, seed);
    float top = a + (b - a) * tx;
    float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float periodicFbm(float x, float y, int period, int octaves, float gain, std::uint32_t seed)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * periodicValue(x, y, period, seed + static_cast<std::uint32_t>(octave) * 7919u);
        total += weight;
        weight *= gain;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
    }
    return sum / total;
}

} // namespace noise
