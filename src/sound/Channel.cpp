#include "sound/Channel.h"

#include "sound/AudioDevice.h"
#include "sound/Voice.h"

#include <cmath>

namespace FMOD {

Channel::Channel(AudioDevice& device, Voice& voice, std::uint64_t generation)
    : device_(&device)
    , voice_(&voice)
    , generation_(generation)
{
}

Voice* Channel::current()
{
    device_->update();
    return voice_->generation() == generation_ ? voice_ : nullptr;
}

FMOD_RESULT Channel::setMute(bool mute)
{
    Voice* voice = current();
    if (voice == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    voice->setMute(mute);
    return FMOD_OK;
}

FMOD_RESULT Channel::getMute(bool* mute)
{
    Voice* voice = current();
    if (mute == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *mute = voice != nullptr && voice->mute();
    return voice != nullptr ? FMOD_OK : FMOD_ERR_INVALID_HANDLE;
}

FMOD_RESULT Channel::getVolume(float* volume)
{
    Voice* voice = current();
    if (volume == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *volume = voice != nullptr ? voice->volume() : 0.0f;
    return voice != nullptr ? FMOD_OK : FMOD_ERR_INVALID_HANDLE;
}

FMOD_RESULT Channel::setVolume(float volume)
{
    Voice* voice = current();
    if (voice == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    if (std::isnan(volume))
        return FMOD_ERR_INVALID_PARAM;
    voice->setVolume(volume);
    return FMOD_OK;
}

FMOD_RESULT Channel::getFrequency(float* frequency)
{
    Voice* voice = current();
    if (frequency == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    if (voice == nullptr) {
        *frequency = 0.0f;
        return FMOD_ERR_INVALID_HANDLE;
    }
    *frequency = voice->frequency();
    return FMOD_OK;
}

FMOD_RESULT Channel::setFrequency(float frequency)
{
    Voice* voice = current();
    if (voice == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    if (std::isnan(frequency))
        return FMOD_ERR_INVALID_PARAM;
    voice->setFrequency(frequency);
    return FMOD_OK;
}

FMOD_RESULT Channel::setPaused(bool paused)
{
    Voice* voice = current();
    if (voice == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    voice->setPaused(paused);
    return FMOD_OK;
}

FMOD_RESULT Channel::getPaused(bool* paused)
{
    Voice* voice = current();
    if (paused == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *paused = voice != nullptr && voice->paused();
    return voice != nullptr ? FMOD_OK : FMOD_ERR_INVALID_HANDLE;
}

FMOD_RESULT Channel::isPlaying(bool* playing)
{
    Voice* voice = current();
    if (playing == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *playing = voice != nullptr && voice->isPlaying();
    return voice != nullptr ? FMOD_OK : FMOD_ERR_INVALID_HANDLE;
}

FMOD_RESULT Channel::getPosition(unsigned* milliseconds)
{
    Voice* voice = current();
    if (milliseconds == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *milliseconds = voice != nullptr ? voice->positionMs() : 0;
    return voice != nullptr ? FMOD_OK : FMOD_ERR_INVALID_HANDLE;
}

FMOD_RESULT Channel::setPosition(unsigned milliseconds)
{
    Voice* voice = current();
    if (voice == nullptr)
        return FMOD_ERR_INVALID_HANDLE;
    voice->setPositionMs(milliseconds);
    return FMOD_OK;
}

}  // namespace FMOD
