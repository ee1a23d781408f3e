#include "sound/AlBuffer.h"

#include <utility>

namespace FMOD {

AlBuffer::AlBuffer()
{
    alGetError();
    ALuint id = 0;
    alGenBuffers(1, &id);
    if (alGetError() == AL_NO_ERROR)
        id_ = id;
}

AlBuffer::~AlBuffer()
{
    reset();
}

AlBuffer::AlBuffer(AlBuffer&& other) noexcept
    : id_(std::exchange(other.id_, 0))
{
}

AlBuffer& AlBuffer::operator=(AlBuffer&& other) noexcept
{
    if (this != &other) {
        reset();
        id_ = std::exchange(other.id_, 0);
    }
    return *this;
}

void AlBuffer::reset()
{
    if (id_ != 0) {
        alDeleteBuffers(1, &id_);
        id_ = 0;
    }
}

}  // namespace FMOD
