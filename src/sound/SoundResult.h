#pragma once

// Result codes, mode bits and init flags of Brimbolt's sound layer. The names
// follow the FMOD conventions the demo code was written against, but every
// value here is our own.

namespace FMOD {

enum FMOD_RESULT {
    FMOD_OK = 0,
    FMOD_ERR_INVALID_PARAM = 1,
    FMOD_ERR_FILE_NOTFOUND = 2,
    FMOD_ERR_FILE_BAD = 3,
    FMOD_ERR_FORMAT = 4,
    FMOD_ERR_CHANNEL_ALLOC = 5,
    FMOD_ERR_INVALID_HANDLE = 6,
    FMOD_ERR_UNINITIALIZED = 7,
    FMOD_ERR_INITIALIZED = 8,
    FMOD_ERR_OUTPUT_INIT = 9,
    FMOD_ERR_UNSUPPORTED = 10,
    FMOD_ERR_INTERNAL = 11,
};

using FMOD_MODE = unsigned int;
using FMOD_INITFLAGS = unsigned int;

// Mode bits for System::createStream. Only the loop bit changes behaviour:
// every sound is decoded to memory and played unpositioned, so the 2D and
// hardware bits are accepted for compatibility and otherwise ignored.
inline constexpr FMOD_MODE FMOD_DEFAULT = 0x0;
inline constexpr FMOD_MODE FMOD_LOOP_NORMAL = 0x2;
inline constexpr FMOD_MODE FMOD_2D = 0x8;
inline constexpr FMOD_MODE FMOD_HARDWARE = 0x20;

// Init flags for System::init.
inline constexpr FMOD_INITFLAGS FMOD_INIT_NORMAL = 0x0;
// Mix into memory on request (System::renderCapture) instead of a device;
// used by the tests and by offline video recording.
inline constexpr FMOD_INITFLAGS FMOD_INIT_CAPTURE = 0x10000;
// Never touch the audio hardware, but keep time as if sound were playing.
inline constexpr FMOD_INITFLAGS FMOD_INIT_SILENT = 0x20000;

// Channel index for System::playSound meaning "any channel that is free".
inline constexpr int FMOD_CHANNEL_FREE = -1;

// Never returns null; unknown values get a generic text that names the value's
// range so that logs still make sense.
const char* FMOD_ErrorString(FMOD_RESULT result);

}  // namespace FMOD
