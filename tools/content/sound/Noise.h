#pragma once

#include <cstdint>
#include <random>

namespace sound {

// White noise that is the same on every platform: the raw mt19937 sequence
// is standardised, the library's distributions are not, so the mapping to
// floats is done here.
class WhiteNoise {
public:
    explicit WhiteNoise(std::uint32_t seed) : engine_(seed) {}

    // Uniform in [-1, 1); the top 24 bits map exactly onto float steps.
    float bipolar() { return static_cast<float>(engine_() >> 8) * (2.0f / 16777216.0f) - 1.0f; }

    // Uniform in [0, 1).
    float unit() { return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f); }

private:
    std::mt19937 engine_;
};

} // namespace sound
