#pragma once

#include "sound/AlName.h"

namespace FMOD {

struct AlSourceKind {
    static void create(ALuint& id) { alGenSources(1, &id); }
    static void destroy(ALuint& id)
    {
        // A source must let go of its buffer before either can be deleted
        // cleanly, and stopping first avoids a click on real hardware.
        alSourceStop(id);
        alSourcei(id, AL_BUFFER, 0);
        alDeleteSources(1, &id);
    }
};

// Owns one OpenAL source: the voice a channel plays through.
using AlSource = AlName<AlSourceKind>;

} // namespace FMOD
