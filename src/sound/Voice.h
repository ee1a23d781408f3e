#pragma once

#include "sound/AlSource.h"

#include <cstdint>

namespace FMOD {

class Sound;

// One of the System's channel slots: an OpenAL source plus the state the
// public Channel API needs (volume while muted, pitch as a frequency).
// Each start() begins a new generation so handles to earlier plays on this
// slot can tell that they are stale.
class Voice {
public:
    // Beyond this, resampling turns any sound into noise anyway.
    static constexpr float kMaxPitch = 8.0f;

    Voice();

    Voice(const Voice&) = delete;
    Voice& operator=(const Voice&) = delete;

    bool valid() const { return source_.valid(); }
    // For diagnostics: the OpenAL source behind this slot.
    ALuint sourceId() const { return source_.id(); }
    std::uint64_t generation() const { return generation_; }

    // Free when never used or when a one-shot has run out.
    bool isFree() const;

    // Restarts the slot with `sound`; returns false on an OpenAL error, in
    // which case the slot is left stopped.
    bool start(const Sound& sound, bool paused, bool directChannels);

    void setMute(bool mute);
    bool mute() const { return muted_; }
    void setVolume(float volume);
    float volume() const { return volume_; }
    float frequency() const { return frequency_; }
    void setFrequency(float frequency);
    bool isPlaying() const;
    // Holds the play where it is, or lets it go on from there; a one-shot
    // that has ended stays ended.
    void setPaused(bool paused);
    bool paused() const;
    unsigned positionMs() const;
    // A looping sound wraps round to the position; a one-shot past its end
    // is put at its end.
    void setPositionMs(unsigned milliseconds);

private:
    void applyGain();
    int state() const;

    AlSource source_;
    std::uint64_t generation_ = 0;
    int sampleRate_ = 0;
    std::int64_t frames_ = 0;
    bool looping_ = false;
    float frequency_ = 0.0f;
    float volume_ = 1.0f;
    bool muted_ = false;
};

}  // namespace FMOD
