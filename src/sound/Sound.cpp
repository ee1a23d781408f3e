#include "sound/Sound.h"

#include <utility>

namespace FMOD {

Sound::Sound(AlBuffer buffer, int sampleRate, int channels, std::int64_t frames, bool looping)
    : buffer_(std::move(buffer))
    , sampleRate_(sampleRate)
    , channels_(channels)
    , frames_(frames)
    , looping_(looping)
{
}

unsigned Sound::lengthMs() const
{
    return sampleRate_ > 0 ? static_cast<unsigned>(frames_ * 1000 / sampleRate_) : 0;
}

}  // namespace FMOD
