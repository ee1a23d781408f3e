#include "sound/Music.h"

#include "sound/Channel.h"
#include "sound/System.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

using namespace FMOD;

namespace {
constexpr unsigned loopingMode = FMOD_LOOP_NORMAL | FMOD_2D | FMOD_HARDWARE; // 0x2A
constexpr unsigned oneShotMode = FMOD_DEFAULT;
constexpr int channelCount = 100;
// Pitch in Hz and volume added per unit of car speed.
constexpr float enginePitchPerSpeed = 500.0f;
constexpr float firstEngineVolumePerSpeed = 0.007f;
constexpr float otherEngineVolumePerSpeed = 0.01f;
constexpr float engineIdleVolume = 0.1f;
} // namespace

Music::Music() : Music(FMOD_INIT_NORMAL) {}

Music::Music(unsigned initFlags)
{
    check(FMOD_System_Create(&system));
    check(system->init(channelCount, initFlags, nullptr));
}

Music::~Music()
{
    check(system->release());
}

// A sound failure leaves the showcase without its sound, so it ends the program.
void Music::check(FMOD::FMOD_RESULT result)
{
    lastResult = result;
    if (result != FMOD_OK) {
        std::printf("FMOD error! (%d) %s\n", result, FMOD_ErrorString(result));
        // The audio device is closed before the process ends, so the audio
        // library has nothing of its own to complain about on the way out.
        if (system) {
            system->release();
            system = nullptr;
        }
        std::exit(-1);
    }
}

void Music::loadSlot(SoundSlot slot, const std::string& path, bool looping)
{
    if (!validSlot(slot)) {
        return;
    }
    check(system->createStream(path.c_str(), looping ? loopingMode : oneShotMode, nullptr, &entry(slot).sound));
}

void Music::play(SoundSlot slot)
{
    if (!validSlot(slot)) {
        return;
    }
    Slot& playing = entry(slot);
    FMOD_RESULT result = system->playSound(FMOD_CHANNEL_FREE, playing.sound, paused, &playing.channel);
    if (muted && playing.channel) {
        playing.channel->setMute(true);
    }
    check(result);
}

void Music::setVolume(SoundSlot slot, float volume)
{
    if (validSlot(slot) && entry(slot).channel) {
        entry(slot).channel->setVolume(volume);
    }
}

void Music::startEngine(int index)
{
    if (index < 0 || index >= engineCount) {
        return;
    }
    play(engineSlot(index));
    entry(engineSlot(index)).channel->getFrequency(&engineBaseFrequencies[index]);
}

void Music::updateEngine(int index, float speed)
{
    if (index < 0 || index >= engineCount) {
        return;
    }
    FMOD::Channel* engine = entry(engineSlot(index)).channel;
    if (!engine) {
        return;
    }
    float s = std::fabs(speed);
    engine->setFrequency(s * enginePitchPerSpeed + engineBaseFrequencies[index]);
    float volumePerSpeed = index == 0 ? firstEngineVolumePerSpeed : otherEngineVolumePerSpeed;
    engine->setVolume(s * volumePerSpeed + engineIdleVolume);
}

void Music::setMute(bool on)
{
    for (Slot& entry : slots) {
        if (entry.channel) {
            entry.channel->setMute(on);
        }
    }
    muted = on;
}

void Music::setPaused(bool on)
{
    for (Slot& entry : slots) {
        if (entry.channel) {
            entry.channel->setPaused(on);
        }
    }
    paused = on;
}

FMOD::Channel* Music::channel(SoundSlot slot) const
{
    return validSlot(slot) ? entry(slot).channel : nullptr;
}

float Music::engineBaseFrequency(int index) const
{
    return index >= 0 && index < engineCount ? engineBaseFrequencies[index] : 0.0f;
}
