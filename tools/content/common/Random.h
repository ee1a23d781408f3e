#pragma once

#include <cstdint>
#include <random>

// A fixed-seed sequence that is the same on every platform: the raw mt19937
// output is standardised, the library's distributions are not, so the
// mapping to numbers is done here. For things drawn one after another (books
// along a shelf, noise samples); see Noise.h for values fixed by position.
class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    // Uniform in [0, 1); the top 24 bits map exactly onto float steps.
    float unit() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }
    // Uniform in [-1, 1): white noise for sounds.
    float bipolar() { return 2.0f * unit() - 1.0f; }
    float range(float low, float high) { return low + (high - low) * unit(); }
    // A whole number in [0, count).
    int below(int count) { return static_cast<int>(engine_() % static_cast<std::uint32_t>(count)); }

private:
    std::mt19937 engine_;
};
