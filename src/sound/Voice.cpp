#include "sound/Voice.h"

#include "sound/Sound.h"

#include <AL/alext.h>

#include <algorithm>

namespace FMOD {

Voice::Voice()
{
    if (!source_.valid())
        return;
    // The demo's sounds are all unpositioned: pin the source to the listener
    // with no distance attenuation so mono plays centred at full level.
    const ALuint id = source_.id();
    alSourcei(id, AL_SOURCE_RELATIVE, AL_TRUE);
    alSource3f(id, AL_POSITION, 0.0f, 0.0f, 0.0f);
    alSource3f(id, AL_VELOCITY, 0.0f, 0.0f, 0.0f);
    alSourcef(id, AL_ROLLOFF_FACTOR, 0.0f);
}

int Voice::state() const
{
    ALint value = AL_INITIAL;
    alGetSourcei(source_.id(), AL_SOURCE_STATE, &value);
    return value;
}

bool Voice::isFree() const
{
    const int current = state();
    return current == AL_INITIAL || current == AL_STOPPED;
}

bool Voice::start(const Sound& sound, bool paused, bool directChannels)
{
    const ALuint id = source_.id();
    ++generation_;
    sampleRate_ = sound.sampleRate();
    frames_ = sound.frames();
    looping_ = sound.looping();
    frequency_ = static_cast<float>(sampleRate_);
    volume_ = 1.0f;
    muted_ = false;

    alGetError();
    alSourceStop(id);
    alSourcei(id, AL_BUFFER, static_cast<ALint>(sound.buffer()));
    alSourcei(id, AL_LOOPING, sound.looping() ? AL_TRUE : AL_FALSE);
    if (directChannels) {
        // Stereo music should reach the speakers as recorded rather than be
        // placed on two virtual speakers; mono ignores the setting.
        alSourcei(id, AL_DIRECT_CHANNELS_SOFT, sound.channels() == 2 ? AL_TRUE : AL_FALSE);
    }
    alSourcef(id, AL_PITCH, 1.0f);
    alSourcef(id, AL_GAIN, 1.0f);
    alSourcePlay(id);
    if (paused)
        alSourcePause(id);
    if (alGetError() != AL_NO_ERROR) {
        alSourceStop(id);
        return false;
    }
    return true;
}

void Voice::applyGain()
{
    alSourcef(source_.id(), AL_GAIN, muted_ ? 0.0f : volume_);
}

void Voice::setMute(bool mute)
{
    muted_ = mute;
    applyGain();
}

void Voice::setVolume(float volume)
{
    volume_ = std::clamp(volume, 0.0f, 1.0f);
    applyGain();
}

void Voice::setFrequency(float frequency)
{
    if (sampleRate_ <= 0)
        return;
    // OpenAL rejects negative pitch; zero is accepted and simply holds the
    // sound in place, which is the closest match to "no frequency".
    const float pitch = std::clamp(frequency / static_cast<float>(sampleRate_), 0.0f, kMaxPitch);
    alSourcef(source_.id(), AL_PITCH, pitch);
    frequency_ = pitch * static_cast<float>(sampleRate_);
}

bool Voice::isPlaying() const
{
    const int current = state();
    return current == AL_PLAYING || current == AL_PAUSED;
}

void Voice::setPaused(bool paused)
{
    const int current = state();
    if (paused && current == AL_PLAYING)
        alSourcePause(source_.id());
    else if (!paused && current == AL_PAUSED)
        alSourcePlay(source_.id());
}

bool Voice::paused() const
{
    return state() == AL_PAUSED;
}

unsigned Voice::positionMs() const
{
    if (sampleRate_ <= 0)
        return 0;
    ALint offset = 0;
    alGetSourcei(source_.id(), AL_SAMPLE_OFFSET, &offset);
    return static_cast<unsigned>(static_cast<std::int64_t>(std::max(offset, 0)) * 1000 / sampleRate_);
}

void Voice::setPositionMs(unsigned milliseconds)
{
    if (sampleRate_ <= 0 || frames_ <= 0)
        return;
    std::int64_t frame = static_cast<std::int64_t>(milliseconds) * sampleRate_ / 1000;
    frame = looping_ ? frame % frames_ : std::min(frame, frames_ - 1);
    alSourcei(source_.id(), AL_SAMPLE_OFFSET, static_cast<ALint>(frame));
}

}  // namespace FMOD
