#pragma once

// Shared helpers for the sound tests: temporary tone files, a capture-mode
// System that releases itself, simple signal measurements and a fixture with
// a 440 Hz tone ready to play.

#include "sound/Channel.h"
#include "sound/Sound.h"
#include "sound/SoundResult.h"
#include "sound/System.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace soundtest {

inline constexpr int kRate = 44100;
inline constexpr double kPi = 3.14159265358979323846;

// Writes `seconds` of a sine of `frequency` Hz. For stereo files the tone goes
// to the left channel only, so channel routing can be checked.
inline bool writeTone(const std::filesystem::path& path, int format, int channels, double frequency,
                      double seconds, double amplitude = 0.5)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    const auto frames = static_cast<sf_count_t>(seconds * kRate);
    std::vector<float> samples(static_cast<std::size_t>(frames * channels), 0.0f);
    for (sf_count_t i = 0; i < frames; ++i)
        samples[static_cast<std::size_t>(i * channels)] =
            static_cast<float>(amplitude * std::sin(2.0 * kPi * frequency * static_cast<double>(i) / kRate));
    const sf_count_t written = sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return written == frames;
}

// A private directory per test, removed afterwards.
struct TempDir : ScratchDir {
    TempDir() : ScratchDir("brimbolt_sound") {}
    std::filesystem::path file(const std::string& name) const { return path() / name; }
};

struct SystemReleaser {
    void operator()(FMOD::System* system) const { system->release(); }
};
using SystemPtr = std::unique_ptr<FMOD::System, SystemReleaser>;

inline SystemPtr makeSystem(unsigned flags, int channels)
{
    FMOD::System* raw = nullptr;
    if (FMOD::FMOD_System_Create(&raw) != FMOD::FMOD_OK)
        return nullptr;
    SystemPtr system(raw);
    if (system->init(channels, flags, nullptr) != FMOD::FMOD_OK)
        return nullptr;
    return system;
}

// Interleaved stereo as rendered by System::renderCapture.
using Capture = std::vector<float>;

inline Capture render(FMOD::System& system, double seconds)
{
    Capture out(static_cast<std::size_t>(seconds * kRate) * 2);
    EXPECT_EQ(system.renderCapture(out.data(), static_cast<int>(out.size() / 2)), FMOD::FMOD_OK);
    return out;
}

inline double rms(const Capture& capture, int channel)
{
    double sum = 0.0;
    std::size_t count = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < capture.size(); i += 2, ++count)
        sum += static_cast<double>(capture[i]) * capture[i];
    return count > 0 ? std::sqrt(sum / static_cast<double>(count)) : 0.0;
}

inline double peak(const Capture& capture)
{
    float best = 0.0f;
    for (float sample : capture)
        best = std::max(best, std::fabs(sample));
    return best;
}

// Frequency of the dominant tone on one channel from its zero crossings.
inline double measuredFrequency(const Capture& capture, int channel)
{
    int crossings = 0;
    const std::size_t frames = capture.size() / 2;
    for (std::size_t i = 1; i < frames; ++i) {
        const float before = capture[(i - 1) * 2 + static_cast<std::size_t>(channel)];
        const float now = capture[i * 2 + static_cast<std::size_t>(channel)];
        if ((before < 0.0f) != (now < 0.0f))
            ++crossings;
    }
    return crossings / 2.0 / (static_cast<double>(frames) / kRate);
}

// The two modes the sound bank passes.
inline constexpr unsigned kLooping = FMOD::FMOD_LOOP_NORMAL | FMOD::FMOD_2D | FMOD::FMOD_HARDWARE;
inline constexpr unsigned kOneShot = FMOD::FMOD_DEFAULT;
// Long enough for OpenAL's gain and pitch changes to finish fading.
inline constexpr double kSettle = 0.02;

// A two-channel capture-mode system and a 1 s, 440 Hz, half-scale mono tone on disk.
class CaptureTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeTone(tonePath, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 1.0));
        system = makeSystem(FMOD::FMOD_INIT_CAPTURE, 2);
        ASSERT_TRUE(system);
    }

    FMOD::Sound* load(const std::filesystem::path& path, unsigned mode)
    {
        FMOD::Sound* sound = nullptr;
        EXPECT_EQ(system->createStream(path.c_str(), mode, nullptr, &sound), FMOD::FMOD_OK);
        return sound;
    }

    FMOD::Channel* play(FMOD::Sound* sound)
    {
        FMOD::Channel* channel = nullptr;
        EXPECT_EQ(system->playSound(FMOD::FMOD_CHANNEL_FREE, sound, false, &channel), FMOD::FMOD_OK);
        return channel;
    }

    static bool playing(FMOD::Channel* channel)
    {
        bool result = false;
        EXPECT_EQ(channel->isPlaying(&result), FMOD::FMOD_OK);
        return result;
    }

    static unsigned position(FMOD::Channel* channel)
    {
        unsigned result = 0;
        EXPECT_EQ(channel->getPosition(&result), FMOD::FMOD_OK);
        return result;
    }

    TempDir dir;
    std::filesystem::path tonePath = dir.file("tone.wav");
    SystemPtr system;
};

}  // namespace soundtest
