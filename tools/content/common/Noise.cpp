#include "common/Noise.h"

#include <cmath>

namespace noise {

namespace {
// Xor-shift-multiply rounds: each multiply spreads low bits upwards, each
// shift brings high bits back down.
std::uint32_t finalise(std::uint32_t h, std::uint32_t first, int shift, std::uint32_t second)
{
    h ^= h >> 16;
    h *= first;
    h ^= h >> shift;
    h *= second;
    h ^= h >> 16;
    return h;
}
} // namespace

float toUnit(std::uint32_t bits)
{
    return static_cast<float>(bits >> 8) * (1.0f / 16777216.0f);
}

std::uint32_t mix(std::uint32_t h)
{
    return finalise(h, 0x7feb352dU, 15, 0x846ca68bU);
}

std::uint32_t hash(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z)
{
    std::uint32_t h = seed * 0x9E3779B9u;
    const std::uint32_t inputs[] = {static_cast<std::uint32_t>(x), static_cast<std::uint32_t>(y),
                                    static_cast<std::uint32_t>(z)};
    for (std::uint32_t v : inputs) {
        h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
        // MurmurHash3's constants: every input bit reaches every output bit.
        h = finalise(h, 0x85EBCA6Bu, 13, 0xC2B2AE35u);
    }
    return h;
}

float unit(std::int32_t x, std::int32_t y, std::uint32_t seed, std::int32_t z)
{
    return toUnit(hash(x, y, seed, z));
}

float nestedUnit(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    const auto ux = static_cast<std::uint32_t>(x), uy = static_cast<std::uint32_t>(y);
    return toUnit(mix(ux * 0x9e3779b1U ^ mix(uy * 0x85ebca77U ^ seed * 0xc2b2ae3dU)));
}

std::uint32_t spreadHash(std::uint32_t x, std::uint32_t y, std::uint32_t seed)
{
    return mix(x * 0x8da6b343u ^ y * 0xd8163841u ^ seed * 0xcb1ab31fu);
}

namespace {

float pictureLattice(std::int32_t x, std::int32_t y, std::uint32_t seed)
{
    return unit(x, y, seed);
}

int wrap(int i, int period)
{
    int r = i % period;
    return r < 0 ? r + period : r;
}

// Quintic fade: the second derivative stays continuous, so no lattice grid
// shows in the grain.
float fade(float t)
{
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

} // namespace

const Family pictures{pictureLattice, 7919u};
const Family room{nestedUnit, 1013u};

float periodicValue(const Family& family, glm::vec2 p, glm::ivec2 period, std::uint32_t seed)
{
    const float fx = std::floor(p.x), fy = std::floor(p.y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const float tx = fade(p.x - fx), ty = fade(p.y - fy);
    const int xa = wrap(x0, period.x), xb = wrap(x0 + 1, period.x);
    const int ya = wrap(y0, period.y), yb = wrap(y0 + 1, period.y);
    const float a = family.lattice(xa, ya, seed), b = family.lattice(xb, ya, seed);
    const float c = family.lattice(xa, yb, seed), d = family.lattice(xb, yb, seed);
    const float top = a + (b - a) * tx;
    const float bottom = c + (d - c) * tx;
    return top + (bottom - top) * ty;
}

float periodicFbm(const Family& family, glm::vec2 p, glm::ivec2 period, int octaves, float gain, std::uint32_t seed)
{
    float sum = 0.0f;
    float weight = 1.0f;
    float total = 0.0f;
    for (int octave = 0; octave < octaves; ++octave) {
        const std::uint32_t octaveSeed = seed + static_cast<std::uint32_t>(octave) * family.octaveSeedStep;
        sum += weight * periodicValue(family, p, period, octaveSeed);
        total += weight;
        weight *= gain;
        p *= 2.0f;
        period *= 2;
    }
    return sum / total;
}

} // namespace noise
