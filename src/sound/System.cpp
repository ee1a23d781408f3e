#include "sound/System.h"

#include "sound/AudioDevice.h"
#include "sound/Channel.h"
#include "sound/DecodedAudio.h"
#include "sound/Sound.h"
#include "sound/SoundFileDecoder.h"
#include "sound/Voice.h"

#include <AL/al.h>

#include <algorithm>
#include <cstdio>
#include <new>
#include <utility>

namespace FMOD {

FMOD_RESULT FMOD_System_Create(System** system)
{
    if (system == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *system = new (std::nothrow) System();
    return *system != nullptr ? FMOD_OK : FMOD_ERR_INTERNAL;
}

System::System() = default;

System::~System()
{
    if (!device_)
        return;
    // AL objects must go while their own context is current, sources before
    // the buffers they play, and all of them before the context.
    device_->update();
    channels_.clear();
    voices_.clear();
    sounds_.clear();
    device_.reset();
}

FMOD_RESULT System::release()
{
    delete this;
    return FMOD_OK;
}

bool System::enter()
{
    if (!device_)
        return false;
    device_->update();
    return true;
}

FMOD_RESULT System::init(int maxChannels, unsigned flags, void* /*extraDriverData*/)
{
    if (device_)
        return FMOD_ERR_INITIALIZED;
    if (maxChannels < 1 || maxChannels > kMaxChannels)
        return FMOD_ERR_INVALID_PARAM;
    if ((flags & FMOD_INIT_CAPTURE) && (flags & FMOD_INIT_SILENT))
        return FMOD_ERR_INVALID_PARAM;

    AudioDevice::Mode requested = AudioDevice::Mode::Hardware;
    if (flags & FMOD_INIT_CAPTURE)
        requested = AudioDevice::Mode::Capture;
    else if (flags & FMOD_INIT_SILENT)
        requested = AudioDevice::Mode::Silent;

    std::unique_ptr<AudioDevice> device;
    if (const FMOD_RESULT result = AudioDevice::open(requested, maxChannels, device); result != FMOD_OK)
        return result;

    std::vector<std::unique_ptr<Voice>> voices;
    voices.reserve(static_cast<std::size_t>(maxChannels));
    for (int i = 0; i < maxChannels; ++i) {
        voices.push_back(std::make_unique<Voice>());
        if (!voices.back()->valid())
            return FMOD_ERR_OUTPUT_INIT;
    }

    if (requested == AudioDevice::Mode::Hardware && device->mode() == AudioDevice::Mode::Silent) {
        // Standard error: standard output carries the program's own status lines.
        std::fputs("Sound: no audio device found, playing silently.\n", stderr);
    }
    device_ = std::move(device);
    voices_ = std::move(voices);
    return FMOD_OK;
}

FMOD_RESULT System::createStream(const char* path, unsigned mode, void* /*exinfo*/, Sound** sound)
{
    if (sound == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *sound = nullptr;
    if (!enter())
        return FMOD_ERR_UNINITIALIZED;

    DecodedAudio audio;
    if (const FMOD_RESULT result = SoundFileDecoder::decode(path, audio); result != FMOD_OK)
        return result;

    AlBuffer buffer;
    if (!buffer.valid())
        return FMOD_ERR_INTERNAL;
    const ALenum format = audio.channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16;
    alGetError();
    alBufferData(buffer.id(), format, audio.samples.data(),
                 static_cast<ALsizei>(audio.samples.size() * sizeof(audio.samples[0])), audio.sampleRate);
    if (alGetError() != AL_NO_ERROR)
        return FMOD_ERR_FORMAT;

    const bool looping = (mode & FMOD_LOOP_NORMAL) != 0;
    sounds_.push_back(std::make_unique<Sound>(std::move(buffer), audio.sampleRate, audio.channels,
                                              audio.frames(), looping));
    *sound = sounds_.back().get();
    return FMOD_OK;
}

Voice* System::findFreeVoice()
{
    for (const auto& voice : voices_) {
        if (voice->isFree())
            return voice.get();
    }
    return nullptr;
}

FMOD_RESULT System::playSound(int channelIndex, Sound* sound, bool paused, Channel** channel)
{
    if (channel != nullptr)
        *channel = nullptr;
    if (!enter())
        return FMOD_ERR_UNINITIALIZED;
    if (sound == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    // Only trust sounds we made: compare addresses rather than dereference.
    const bool ours = std::any_of(sounds_.begin(), sounds_.end(),
                                  [sound](const auto& owned) { return owned.get() == sound; });
    if (!ours)
        return FMOD_ERR_INVALID_HANDLE;

    Voice* voice = nullptr;
    if (channelIndex == FMOD_CHANNEL_FREE)
        voice = findFreeVoice();
    else if (channelIndex >= 0 && channelIndex < static_cast<int>(voices_.size()))
        voice = voices_[static_cast<std::size_t>(channelIndex)].get();
    else
        return FMOD_ERR_INVALID_PARAM;
    if (voice == nullptr)
        return FMOD_ERR_CHANNEL_ALLOC;

    if (!voice->start(*sound, paused, device_->hasDirectChannels()))
        return FMOD_ERR_INTERNAL;
    channels_.push_back(std::unique_ptr<Channel>(new Channel(*device_, *voice, voice->generation())));
    if (channel != nullptr)
        *channel = channels_.back().get();
    return FMOD_OK;
}

FMOD_RESULT System::renderCapture(float* interleavedStereo, int frames)
{
    if (!enter())
        return FMOD_ERR_UNINITIALIZED;
    return device_->renderCapture(interleavedStereo, frames);
}

FMOD_RESULT System::getCaptureSampleRate(int* sampleRate)
{
    if (sampleRate == nullptr)
        return FMOD_ERR_INVALID_PARAM;
    *sampleRate = 0;
    if (!enter())
        return FMOD_ERR_UNINITIALIZED;
    if (device_->mode() != AudioDevice::Mode::Capture)
        return FMOD_ERR_UNSUPPORTED;
    *sampleRate = AudioDevice::kLoopbackRate;
    return FMOD_OK;
}

}  // namespace FMOD
