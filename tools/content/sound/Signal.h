#pragma once

#include <cstddef>
#include <utility>
#include <vector>

namespace sound {

// Every file is written at this rate; loop lengths below are counted in it.
constexpr int kSampleRate = 44100;
constexpr double kPi = 3.14159265358979323846;

// Interleaved float samples, nominally within [-1, 1].
struct Signal {
    int channels = 1;
    std::vector<float> samples;

    std::size_t frames() const { return channels > 0 ? samples.size() / static_cast<std::size_t>(channels) : 0; }
};

inline Signal monoSignal(std::vector<float> samples)
{
    return Signal{1, std::move(samples)};
}

} // namespace sound
