#pragma once

#include "sound/SoundResult.h"

#include <cstdint>

namespace FMOD {

class AudioDevice;
class System;
class Voice;

// A handle to one play of a sound, returned by System::playSound.
//
// Every play gets its own Channel object, owned by the System until
// System::release. It remembers which slot it played on and that slot's
// generation at the time; once the slot is reused for a later play the
// handle goes stale and every call through it returns
// FMOD_ERR_INVALID_HANDLE without touching the new play. Until then a
// finished one-shot's handle stays usable and harmless.
class Channel {
public:
    Channel(const Channel&) = delete;
    Channel& operator=(const Channel&) = delete;

    FMOD_RESULT setMute(bool mute);
    FMOD_RESULT getMute(bool* mute);
    // Clamped to 0..1; muting keeps the value for when the mute is lifted.
    FMOD_RESULT setVolume(float volume);
    // The volume set last, whether or not the channel is muted.
    FMOD_RESULT getVolume(float* volume);
    // Playback rate in Hz; starts at the sound's own sample rate.
    FMOD_RESULT getFrequency(float* frequency);
    // Clamped to 0..8x the sound's sample rate.
    FMOD_RESULT setFrequency(float frequency);

    // A paused play holds its place and is silent until it is let go on.
    FMOD_RESULT setPaused(bool paused);
    FMOD_RESULT getPaused(bool* paused);

    // True while the play is running or paused; false once a one-shot ends.
    FMOD_RESULT isPlaying(bool* playing);
    // Position within the sound; 0 once a one-shot has ended.
    FMOD_RESULT getPosition(unsigned* milliseconds);
    // Moves the play to a position; a looping sound wraps round to it.
    FMOD_RESULT setPosition(unsigned milliseconds);

private:
    friend class System;
    Channel(AudioDevice& device, Voice& voice, std::uint64_t generation);

    // Brings the mix up to date and returns the voice if this handle is
    // still the one playing on it.
    Voice* current();

    AudioDevice* device_;
    Voice* voice_;
    std::uint64_t generation_;
};

}  // namespace FMOD
