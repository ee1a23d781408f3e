#pragma once

#include "sound/RenderClock.h"
#include "sound/SoundResult.h"

#include <AL/alc.h>
#include <AL/alext.h>

#include <memory>
#include <optional>
#include <vector>

namespace FMOD {

// Owns the OpenAL device and context behind one System.
//
// Three ways to produce sound:
//  - Hardware: the default output device, mixed by OpenAL's own thread.
//  - Silent:   an OpenAL Soft loopback device that we mix ourselves, on the
//              caller's thread, whenever update() runs, for exactly as much
//              audio as wall-clock time has passed. The demo's timing (one-shot
//              sounds finishing, channels freeing up) then behaves the same
//              with or without speakers, without a thread of our own.
//  - Capture:  the same loopback device, mixed only when renderCapture asks,
//              so a recorder or a test gets every sample exactly once.
class AudioDevice {
public:
    enum class Mode { Hardware, Silent, Capture };

    static constexpr int kLoopbackRate = 44100;
    static constexpr int kLoopbackChannels = 2;
    // Bounds the scratch buffer used to mix and discard silent output.
    static constexpr int kRenderChunkFrames = 1024;

    // Hardware falls back to Silent when no real output exists; the caller
    // can tell from mode(). `maxSources` is how many sources will be needed.
    static FMOD_RESULT open(Mode requested, int maxSources, std::unique_ptr<AudioDevice>& out);

    ~AudioDevice();
    AudioDevice(const AudioDevice&) = delete;
    AudioDevice& operator=(const AudioDevice&) = delete;

    Mode mode() const { return mode_; }
    // Whether stereo buffers can bypass OpenAL's virtual speaker placement.
    bool hasDirectChannels() const { return directChannels_; }

    // Every entry point into the layer calls this first: it selects our
    // context (several Systems may coexist) and, when Silent, mixes away the
    // time that passed since the last call.
    void update();

    // Capture mode only: mixes the next `frames` frames, interleaved stereo.
    FMOD_RESULT renderCapture(float* interleavedStereo, int frames);

private:
    AudioDevice(ALCdevice* device, ALCcontext* context, Mode mode, LPALCRENDERSAMPLESSOFT render);

    void makeCurrent();

    ALCdevice* device_;
    ALCcontext* context_;
    Mode mode_;
    LPALCRENDERSAMPLESSOFT render_;
    bool directChannels_ = false;
    std::optional<RenderClock> clock_;
    std::vector<float> scratch_;
};

}  // namespace FMOD
