#pragma once

#include "sound/AlBuffer.h"

#include <cstdint>

namespace FMOD {

// A fully decoded sound held in one OpenAL buffer. Sounds are created and
// owned by System and live until System::release.
class Sound {
public:
    Sound(AlBuffer buffer, int sampleRate, int channels, std::int64_t frames, bool looping);

    Sound(const Sound&) = delete;
    Sound& operator=(const Sound&) = delete;

    ALuint buffer() const { return buffer_.id(); }
    int sampleRate() const { return sampleRate_; }
    int channels() const { return channels_; }
    bool looping() const { return looping_; }
    unsigned lengthMs() const;
    std::int64_t frames() const { return frames_; }

private:
    AlBuffer buffer_;
    int sampleRate_;
    int channels_;
    std::int64_t frames_;
    bool looping_;
};

}  // namespace FMOD
