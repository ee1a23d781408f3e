#include "sound/AlSource.h"

#include <utility>

namespace FMOD {

AlSource::AlSource()
{
    alGetError();
    ALuint id = 0;
    alGenSources(1, &id);
    if (alGetError() == AL_NO_ERROR)
        id_ = id;
}

AlSource::~AlSource()
{
    reset();
}

AlSource::AlSource(AlSource&& other) noexcept
    : id_(std::exchange(other.id_, 0))
{
}

AlSource& AlSource::operator=(AlSource&& other) noexcept
{
    if (this != &other) {
        reset();
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void AlSource::reset()
{
    if (id_ != 0) {
        // A source must let go of its buffer before either can be deleted
        // cleanly, and stopping first avoids a click on real hardware.
        alSourceStop(id_);
        alSourcei(id_, AL_BUFFER, 0);
        alDeleteSources(1, &id_);
        id_ = 0;
    }
}

}  // namespace FMOD
