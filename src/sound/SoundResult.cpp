#include "sound/SoundResult.h"

namespace FMOD {

const char* FMOD_ErrorString(FMOD_RESULT result)
{
    switch (result) {
    case FMOD_OK:
        return "No error.";
    case FMOD_ERR_INVALID_PARAM:
        return "An invalid argument was passed to the sound layer.";
    case FMOD_ERR_FILE_NOTFOUND:
        return "The sound file could not be found.";
    case FMOD_ERR_FILE_BAD:
        return "The sound file exists but could not be read.";
    case FMOD_ERR_FORMAT:
        return "The sound file is damaged or in an unsupported format.";
    case FMOD_ERR_CHANNEL_ALLOC:
        return "No free channel is left to play the sound on.";
    case FMOD_ERR_INVALID_HANDLE:
        return "The handle is no longer valid; its channel is playing something else.";
    case FMOD_ERR_UNINITIALIZED:
        return "The sound system has not been initialised yet.";
    case FMOD_ERR_INITIALIZED:
        return "The sound system is already initialised.";
    case FMOD_ERR_OUTPUT_INIT:
        return "The audio output could not be opened.";
    case FMOD_ERR_UNSUPPORTED:
        return "The operation is not available in the current output mode.";
    case FMOD_ERR_INTERNAL:
        return "The audio backend reported an unexpected error.";
    }
    return "Unknown sound error code.";
}

}  // namespace FMOD
