// The generated sounds: each decodes through the program's sound layer, at
// the rate the mixer runs at, and the looping ones go round without a click.
#include "sound/Sound.h"
#include "sound/SoundResult.h"
#include "sound/System.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int mixRate = 44100;

struct SoundFile {
    const char* name;
    bool looping;
};

// Every sound the program loads, with the way it plays it.
const std::vector<SoundFile> programSounds{
    {"menu2.mp3", true},     {"powerup1.mp3", false}, {"powerup2.wav", false}, {"powerup3.wav", false},
    {"powerup4.mp3", false}, {"Hit.wav", false},      {"car1.wav", true},      {"car2.wav", true},
    {"car3.wav", true},      {"car4.wav", true},
};

std::string soundPath(const std::string& name)
{
    return std::string(BRIMBOLT_SOURCE_DIR) + "/brimbolt/music/" + name;
}

struct SystemReleaser {
    void operator()(FMOD::System* system) const { system->release(); }
};

struct Samples {
    int sampleRate = 0;
    int channels = 0;
    std::vector<float> interleaved;

    std::size_t frames() const { return channels > 0 ? interleaved.size() / static_cast<std::size_t>(channels) : 0; }
    float at(std::size_t frame, int channel) const
    {
        return interleaved[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(channel)];
    }
};

Samples decode(const std::string& path)
{
    Samples samples;
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        return samples;
    }
    samples.sampleRate = info.samplerate;
    samples.channels = info.channels;
    std::vector<float> chunk(static_cast<std::size_t>(4096 * info.channels));
    sf_count_t got = 0;
    while ((got = sf_readf_float(file, chunk.data(), 4096)) > 0) {
        samples.interleaved.insert(samples.interleaved.end(), chunk.begin(), chunk.begin() + got * info.channels);
    }
    sf_close(file);
    return samples;
}

// How far one sample lies from the next in 999 of 1000 places of a channel.
float usualStep(const Samples& samples, int channel)
{
    std::vector<float> steps;
    steps.reserve(samples.frames());
    for (std::size_t i = 1; i < samples.frames(); ++i) {
        steps.push_back(std::abs(samples.at(i, channel) - samples.at(i - 1, channel)));
    }
    if (steps.empty()) {
        return 0.0f;
    }
    const auto percentile = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() * 999 / 1000);
    std::nth_element(steps.begin(), percentile, steps.end());
    return *percentile;
}

} // namespace

TEST(ContentSounds, EverySoundDecodesThroughTheSoundLayerAtTheMixRate)
{
    FMOD::System* raw = nullptr;
    ASSERT_EQ(FMOD::FMOD_System_Create(&raw), FMOD::FMOD_OK);
    std::unique_ptr<FMOD::System, SystemReleaser> system(raw);
    ASSERT_EQ(system->init(static_cast<int>(programSounds.size()), FMOD::FMOD_INIT_CAPTURE, nullptr), FMOD::FMOD_OK);

    for (const SoundFile& sound : programSounds) {
        SCOPED_TRACE(sound.name);
        const unsigned mode = sound.looping ? 0x2A : 0x0;
        FMOD::Sound* decoded = nullptr;
        ASSERT_EQ(system->createStream(soundPath(sound.name).c_str(), mode, nullptr, &decoded), FMOD::FMOD_OK);
        ASSERT_NE(decoded, nullptr);
        EXPECT_EQ(decoded->sampleRate(), mixRate);
        EXPECT_GT(decoded->lengthMs(), 100u);
        if (std::string(sound.name) == "menu2.mp3") {
            EXPECT_GE(decoded->lengthMs(), 60000u) << "the music repeats too soon";
        }
    }
}

TEST(ContentSounds, SoundsAreAudibleWithoutClipping)
{
    for (const SoundFile& sound : programSounds) {
        SCOPED_TRACE(sound.name);
        const Samples samples = decode(soundPath(sound.name));
        ASSERT_GT(samples.frames(), 0u);
        EXPECT_EQ(samples.sampleRate, mixRate);
        float peak = 0.0f;
        std::size_t clipped = 0;
        for (float sample : samples.interleaved) {
            peak = std::max(peak, std::abs(sample));
            clipped += std::abs(sample) >= 0.999f ? 1 : 0;
        }
        EXPECT_GT(peak, 0.1f) << "hardly audible";
        EXPECT_LT(clipped, samples.interleaved.size() / 10000 + 1) << "samples at full scale";
    }
}

TEST(ContentSounds, LoopsJoinTheirEndToTheirStartWithoutAClick)
{
    for (const SoundFile& sound : programSounds) {
        if (!sound.looping) {
            continue;
        }
        SCOPED_TRACE(sound.name);
        const Samples samples = decode(soundPath(sound.name));
        ASSERT_GT(samples.frames(), 1000u);
        for (int channel = 0; channel < samples.channels; ++channel) {
            const float join = std::abs(samples.at(0, channel) - samples.at(samples.frames() - 1, channel));
            EXPECT_LE(join, usualStep(samples, channel)) << "channel " << channel;
        }
    }
}
