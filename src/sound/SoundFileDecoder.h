#pragma once

#include "sound/DecodedAudio.h"
#include "sound/SoundResult.h"

namespace FMOD {

// Decodes a whole file (anything libsndfile reads: WAV, MP3, ...) to memory.
// The demo's sounds are short effects and one music track, so holding them
// decoded costs little and keeps playback free of streaming hiccups.
class SoundFileDecoder {
public:
    // Mono and stereo only: that is all the mixer routes without surprises.
    static constexpr int kMaxChannels = 2;

    // On failure `out` is left empty and the result says why.
    static FMOD_RESULT decode(const char* path, DecodedAudio& out);
};

}  // namespace FMOD
