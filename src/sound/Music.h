#pragma once

#include "sound/SoundResult.h"
#include "sound/SoundSlot.h"

#include <array>
#include <string>

namespace FMOD {
class System;
class Sound;
class Channel;
} // namespace FMOD

// The sound bank: 18 numbered slots, each a streamed sound and the channel it
// last played on, a global mute and the base pitch of the four engines.
class Music {
public:
    static constexpr int slotCount = 18;
    static constexpr int engineCount = 4;

    // Creates the sound system; a library failure ends the process.
    Music();
    // Capture mode: the mix is rendered on request instead of played (tests, recorder).
    explicit Music(unsigned initFlags);
    virtual ~Music();
    Music(const Music&) = delete;
    Music& operator=(const Music&) = delete;

    void loadSlot(SoundSlot slot, const std::string& path, bool looping);
    void play(SoundSlot slot);
    void setVolume(SoundSlot slot, float volume);
    void startEngine(int index);
    void updateEngine(int index, float speed);
    void setMute(bool on);
    bool isMuted() const { return muted; }
    // Holds every sound of the bank where it is; what starts while the bank
    // is paused starts held.
    void setPaused(bool on);
    bool isPaused() const { return paused; }

    FMOD::System* soundSystem() const { return system; }
    FMOD::Channel* channel(SoundSlot slot) const;
    float engineBaseFrequency(int index) const;

private:
    struct Slot {
        FMOD::Sound* sound = nullptr;
        FMOD::Channel* channel = nullptr;
    };

    bool muted = false;
    bool paused = false;
    FMOD::FMOD_RESULT lastResult = FMOD::FMOD_OK;
    FMOD::System* system = nullptr; // released (and freed by the library) in the destructor
    std::array<Slot, slotCount> slots{};
    std::array<float, engineCount> engineBaseFrequencies{};

    void check(FMOD::FMOD_RESULT result);
    static bool validSlot(SoundSlot slot) { return static_cast<int>(slot) >= 0 && static_cast<int>(slot) < slotCount; }
    Slot& entry(SoundSlot slot) { return slots[static_cast<std::size_t>(slot)]; }
    const Slot& entry(SoundSlot slot) const { return slots[static_cast<std::size_t>(slot)]; }
};
