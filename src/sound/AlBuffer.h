#pragma once

#include "sound/AlName.h"

namespace FMOD {

struct AlBufferKind {
    static void create(ALuint& id) { alGenBuffers(1, &id); }
    static void destroy(ALuint& id) { alDeleteBuffers(1, &id); }
};

// Owns one OpenAL buffer: the decoded samples of a sound.
using AlBuffer = AlName<AlBufferKind>;

} // namespace FMOD
