#pragma once

#include <cstdint>
#include <vector>

namespace FMOD {

// PCM as OpenAL wants it: interleaved signed 16-bit at the file's own rate.
struct DecodedAudio {
    std::vector<std::int16_t> samples;
    int channels = 0;
    int sampleRate = 0;

    std::int64_t frames() const
    {
        return channels > 0 ? static_cast<std::int64_t>(samples.size()) / channels : 0;
    }
};

}  // namespace FMOD
