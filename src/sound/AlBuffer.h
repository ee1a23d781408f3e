#pragma once

#include <AL/al.h>

namespace FMOD {

// Owns one OpenAL buffer name. The context that created it must be current
// when it is destroyed, which System guarantees by tearing down in order.
class AlBuffer {
public:
    // Generates a buffer name; valid() tells whether OpenAL gave one.
    AlBuffer();
    ~AlBuffer();

    AlBuffer(const AlBuffer&) = delete;
    AlBuffer& operator=(const AlBuffer&) = delete;
    AlBuffer(AlBuffer&& other) noexcept;
    AlBuffer& operator=(AlBuffer&& other) noexcept;

    bool valid() const { return id_ != 0; }
    ALuint id() const { return id_; }

private:
    void reset();

    ALuint id_ = 0;
};

}  // namespace FMOD
