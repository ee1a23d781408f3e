#pragma once

#include <AL/al.h>

#include <utility>

namespace FMOD {

// Owns one OpenAL object name (a buffer or a source, chosen by Kind, which
// supplies create and destroy). The context that created it must be current
// when it is destroyed, which System guarantees by tearing down in order.
template <typename Kind>
class AlName {
public:
    // Generates a name; valid() tells whether OpenAL gave one.
    AlName()
    {
        alGetError();
        ALuint id = 0;
        Kind::create(id);
        if (alGetError() == AL_NO_ERROR) {
            id_ = id;
        }
    }
    ~AlName() { reset(); }

    AlName(const AlName&) = delete;
    AlName& operator=(const AlName&) = delete;
    AlName(AlName&& other) noexcept : id_(std::exchange(other.id_, 0)) {}
    AlName& operator=(AlName&& other) noexcept
    {
        if (this != &other) {
            reset();
            id_ = std::exchange(other.id_, 0);
        }
        return *this;
    }

    bool valid() const { return id_ != 0; }
    ALuint id() const { return id_; }

private:
    void reset()
    {
        if (id_ != 0) {
            Kind::destroy(id_);
            id_ = 0;
        }
    }

    ALuint id_ = 0;
};

} // namespace FMOD
