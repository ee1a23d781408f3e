#pragma once

#include "sound/SoundResult.h"

#include <memory>
#include <vector>

namespace FMOD {

class AudioDevice;
class Channel;
class Sound;
class Voice;

// The sound system: opens the output, decodes sounds and hands out channels.
// Created with FMOD_System_Create and destroyed with release(); it owns every
// Sound and Channel it gives out, so those pointers die with it.
//
// Nothing here runs on a thread of its own. On machines without an audio
// device the mix is advanced by each call into the layer (see AudioDevice),
// so a program that calls in every frame hears, or rather sees, real time.
class System {
public:
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    // `maxChannels` (1..kMaxChannels) is the number of sounds that can play at
    // once. `flags` is FMOD_INIT_NORMAL, FMOD_INIT_CAPTURE or FMOD_INIT_SILENT.
    // In normal mode a machine without a usable device still initialises,
    // silently, and says so once on standard error.
    FMOD_RESULT init(int maxChannels, unsigned flags, void* extraDriverData);

    // Decodes the whole file (WAV, MP3; mono or stereo). FMOD_LOOP_NORMAL in
    // `mode` makes it loop seamlessly. On failure *sound is set to null.
    FMOD_RESULT createStream(const char* path, unsigned mode, void* exinfo, Sound** sound);

    // `channelIndex` is FMOD_CHANNEL_FREE to take any free channel, or a slot
    // number to replace whatever plays there. `channel` may be null when the
    // caller does not need the handle. Plays started paused stay paused and
    // keep their channel busy.
    FMOD_RESULT playSound(int channelIndex, Sound* sound, bool paused, Channel** channel);

    // Frees everything and deletes this object; the pointer is dead afterwards.
    FMOD_RESULT release();

    // Capture mode only: mixes the next `frames` frames into the caller's
    // buffer as interleaved stereo float at getCaptureSampleRate().
    FMOD_RESULT renderCapture(float* interleavedStereo, int frames);
    FMOD_RESULT getCaptureSampleRate(int* sampleRate);

    static constexpr int kMaxChannels = 1024;

private:
    friend FMOD_RESULT FMOD_System_Create(System** system);

    System();
    ~System();

    // Common entry check: initialised, context current, mix up to date.
    bool enter();
    Voice* findFreeVoice();

    std::unique_ptr<AudioDevice> device_;
    std::vector<std::unique_ptr<Sound>> sounds_;
    std::vector<std::unique_ptr<Voice>> voices_;
    // Every handle ever given out, so stale ones stay safe to call into.
    std::vector<std::unique_ptr<Channel>> channels_;
};

FMOD_RESULT FMOD_System_Create(System** system);

}  // namespace FMOD
