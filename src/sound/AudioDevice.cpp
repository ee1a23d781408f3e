#include "sound/AudioDevice.h"

#include <AL/al.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace FMOD {
namespace {

// OpenAL Soft's default source pool; asking for fewer than this gains
// nothing, and leaving the attribute out keeps other drivers happy.
constexpr int kDefaultSourcePool = 255;

// The name OpenAL Soft gives its null backend, which accepts audio and
// throws it away on its own timer; treated as "no device" so that the
// silent path is the same everywhere.
constexpr const char* kNullDeviceName = "No Output";

struct LoopbackApi {
    LPALCLOOPBACKOPENDEVICESOFT openDevice = nullptr;
    LPALCISRENDERFORMATSUPPORTEDSOFT isFormatSupported = nullptr;
    LPALCRENDERSAMPLESSOFT renderSamples = nullptr;

    bool complete() const { return openDevice && isFormatSupported && renderSamples; }
};

template <typename Fn>
Fn alcFunction(const char* name)
{
    return reinterpret_cast<Fn>(alcGetProcAddress(nullptr, name));
}

LoopbackApi loadLoopbackApi()
{
    LoopbackApi api;
    if (alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback") != ALC_TRUE)
        return api;
    api.openDevice = alcFunction<LPALCLOOPBACKOPENDEVICESOFT>("alcLoopbackOpenDeviceSOFT");
    api.isFormatSupported = alcFunction<LPALCISRENDERFORMATSUPPORTEDSOFT>("alcIsRenderFormatSupportedSOFT");
    api.renderSamples = alcFunction<LPALCRENDERSAMPLESSOFT>("alcRenderSamplesSOFT");
    return api;
}

void appendSourceCount(std::vector<ALCint>& attributes, int maxSources)
{
    if (maxSources > kDefaultSourcePool) {
        attributes.push_back(ALC_MONO_SOURCES);
        attributes.push_back(maxSources);
    }
}

bool isRealDevice(ALCdevice* device)
{
    const ALCchar* name = alcGetString(device, ALC_DEVICE_SPECIFIER);
    return name != nullptr && std::strcmp(name, kNullDeviceName) != 0;
}

// Asking the drivers on a machine without any sound hardware or sound server
// makes them print pages of errors; look for either first.
bool soundOutputMayExist()
{
    namespace fs = std::filesystem;
    std::error_code error;
    for (const fs::directory_entry& entry : fs::directory_iterator("/dev/snd", error)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("pcmC", 0) == 0 && name.back() == 'p')
            return true;
    }
    if (std::getenv("PULSE_SERVER") != nullptr)
        return true;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR")) {
        if (fs::exists(fs::path(runtime) / "pulse" / "native", error) ||
            fs::exists(fs::path(runtime) / "pipewire-0", error))
            return true;
    }
    return false;
}

}  // namespace

FMOD_RESULT AudioDevice::open(Mode requested, int maxSources, std::unique_ptr<AudioDevice>& out)
{
    out.reset();

    if (requested == Mode::Hardware) {
        if (ALCdevice* device = soundOutputMayExist() ? alcOpenDevice(nullptr) : nullptr) {
            std::vector<ALCint> attributes;
            appendSourceCount(attributes, maxSources);
            attributes.push_back(0);
            ALCcontext* context = isRealDevice(device) ? alcCreateContext(device, attributes.data()) : nullptr;
            if (context != nullptr) {
                out.reset(new AudioDevice(device, context, Mode::Hardware, nullptr));
                return FMOD_OK;
            }
            alcCloseDevice(device);
        }
        requested = Mode::Silent;
    }

    const LoopbackApi api = loadLoopbackApi();
    if (!api.complete())
        return FMOD_ERR_OUTPUT_INIT;
    ALCdevice* device = api.openDevice(nullptr);
    if (device == nullptr)
        return FMOD_ERR_OUTPUT_INIT;
    if (api.isFormatSupported(device, kLoopbackRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT) != ALC_TRUE) {
        alcCloseDevice(device);
        return FMOD_ERR_OUTPUT_INIT;
    }

    std::vector<ALCint> attributes = {
        ALC_FORMAT_CHANNELS_SOFT, ALC_STEREO_SOFT,
        ALC_FORMAT_TYPE_SOFT, ALC_FLOAT_SOFT,
        ALC_FREQUENCY, kLoopbackRate,
    };
    // Captured levels must follow the channel volumes exactly: no limiter
    // squashing peaks and no HRTF filtering colouring the signal.
    if (alcIsExtensionPresent(device, "ALC_SOFT_HRTF") == ALC_TRUE) {
        attributes.push_back(ALC_HRTF_SOFT);
        attributes.push_back(ALC_FALSE);
    }
    if (alcIsExtensionPresent(device, "ALC_SOFT_output_limiter") == ALC_TRUE) {
        attributes.push_back(ALC_OUTPUT_LIMITER_SOFT);
        attributes.push_back(ALC_FALSE);
    }
    appendSourceCount(attributes, maxSources);
    attributes.push_back(0);

    ALCcontext* context = alcCreateContext(device, attributes.data());
    if (context == nullptr) {
        alcCloseDevice(device);
        return FMOD_ERR_OUTPUT_INIT;
    }
    out.reset(new AudioDevice(device, context, requested, api.renderSamples));
    return FMOD_OK;
}

AudioDevice::AudioDevice(ALCdevice* device, ALCcontext* context, Mode mode, LPALCRENDERSAMPLESSOFT render)
    : device_(device)
    , context_(context)
    , mode_(mode)
    , render_(render)
{
    makeCurrent();
    directChannels_ = alIsExtensionPresent("AL_SOFT_direct_channels") == AL_TRUE;
    if (mode_ == Mode::Silent) {
        clock_.emplace(kLoopbackRate, RenderClock::Clock::now());
        scratch_.resize(static_cast<std::size_t>(kRenderChunkFrames) * kLoopbackChannels);
    }
}

AudioDevice::~AudioDevice()
{
    if (alcGetCurrentContext() == context_)
        alcMakeContextCurrent(nullptr);
    alcDestroyContext(context_);
    alcCloseDevice(device_);
}

void AudioDevice::makeCurrent()
{
    if (alcGetCurrentContext() != context_)
        alcMakeContextCurrent(context_);
}

void AudioDevice::update()
{
    makeCurrent();
    if (!clock_)
        return;
    for (std::int64_t due = clock_->takeDueFrames(RenderClock::Clock::now()); due > 0;) {
        const int frames = static_cast<int>(std::min<std::int64_t>(due, kRenderChunkFrames));
        render_(device_, scratch_.data(), frames);
        due -= frames;
    }
}

FMOD_RESULT AudioDevice::renderCapture(float* interleavedStereo, int frames)
{
    if (mode_ != Mode::Capture)
        return FMOD_ERR_UNSUPPORTED;
    if (frames < 0 || (frames > 0 && interleavedStereo == nullptr))
        return FMOD_ERR_INVALID_PARAM;
    makeCurrent();
    if (frames > 0)
        render_(device_, interleavedStereo, frames);
    return FMOD_OK;
}

}  // namespace FMOD
