#pragma once

#include <AL/al.h>

namespace FMOD {

// Owns one OpenAL source name; see AlBuffer for the context requirement.
class AlSource {
public:
    // Generates a source name; valid() tells whether OpenAL gave one.
    AlSource();
    ~AlSource();

    AlSource(const AlSource&) = delete;
    AlSource& operator=(const AlSource&) = delete;
    AlSource(AlSource&& other) noexcept;
    AlSource& operator=(AlSource&& other) noexcept;

    bool valid() const { return id_ != 0; }
    ALuint id() const { return id_; }

private:
    void reset();

    ALuint id_ = 0;
};

}  // namespace FMOD
