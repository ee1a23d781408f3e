// The generated sounds: each decodes through the program's sound layer at the
// rate the mixer runs at, and the looping ones go round without a click.
#include "scene/RoomLayout.h"
#include "sound/SoundFileDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Every sound the program loads, and whether it plays it in a loop.
const std::vector<std::pair<const char*, bool>> programSounds{
    {"menu2.mp3", true},     {"powerup1.mp3", false}, {"powerup2.wav", false}, {"powerup3.wav", false},
    {"powerup4.mp3", false}, {"Hit.wav", false},      {"car1.wav", true},      {"car2.wav", true},
    {"car3.wav", true},      {"car4.wav", true},
};

int sampleAt(const FMOD::DecodedAudio& audio, std::int64_t frame, int channel)
{
    return audio.samples[static_cast<std::size_t>(frame * audio.channels + channel)];
}

// How far one sample lies from the next in 999 of 1000 places of a channel.
int usualStep(const FMOD::DecodedAudio& audio, int channel)
{
    std::vector<int> steps;
    for (std::int64_t i = 1; i < audio.frames(); ++i) {
        steps.push_back(std::abs(sampleAt(audio, i, channel) - sampleAt(audio, i - 1, channel)));
    }
    const auto percentile = steps.begin() + static_cast<std::ptrdiff_t>(steps.size() * 999 / 1000);
    std::nth_element(steps.begin(), percentile, steps.end());
    return *percentile;
}

// How sharply the waveform bends at a frame (its second difference), the
// frames before the first being the loop's last ones.
int bendAt(const FMOD::DecodedAudio& audio, std::int64_t frame, int channel)
{
    const std::int64_t frames = audio.frames();
    auto at = [&](std::int64_t i) { return sampleAt(audio, (i + frames) % frames, channel); };
    return std::abs(at(frame + 1) - 2 * at(frame) + at(frame - 1));
}

// How sharply a channel bends in 999 of 1000 places inside the loop.
int usualBend(const FMOD::DecodedAudio& audio, int channel)
{
    std::vector<int> bends;
    for (std::int64_t i = 1; i + 1 < audio.frames(); ++i) {
        bends.push_back(bendAt(audio, i, channel));
    }
    const auto percentile = bends.begin() + static_cast<std::ptrdiff_t>(bends.size() * 999 / 1000);
    std::nth_element(bends.begin(), percentile, bends.end());
    return *percentile;
}

} // namespace

TEST(ContentSounds, EverySoundDecodesAtTheMixRateAndEveryLoopJoinsWithoutAClick)
{
    for (const auto& [name, looping] : programSounds) {
        SCOPED_TRACE(name);
        FMOD::DecodedAudio audio;
        const std::string path = std::string(BRIMBOLT_SOURCE_DIR) + "/bin/" + roomLayout::musicFolder + name;
        ASSERT_EQ(FMOD::SoundFileDecoder::decode(path.c_str(), audio), FMOD::FMOD_OK);
        EXPECT_EQ(audio.sampleRate, 44100);
        ASSERT_GT(audio.frames(), 4410) << "shorter than a tenth of a second";
        if (std::string(name) == "menu2.mp3") {
            EXPECT_GE(audio.frames(), 60 * 44100) << "the music loop runs at least a minute";
        }
        if (!looping) {
            continue;
        }
        for (int channel = 0; channel < audio.channels; ++channel) {
            const int join = std::abs(sampleAt(audio, 0, channel) - sampleAt(audio, audio.frames() - 1, channel));
            EXPECT_LE(join, usualStep(audio, channel)) << "channel " << channel;
            // A loop whose filters start cold at the seam kinks there, even
            // where the step itself is small: on both sides of the seam the
            // waveform bends no more than it does almost everywhere else.
            const int bend = usualBend(audio, channel);
            EXPECT_LE(bendAt(audio, audio.frames() - 1, channel), bend) << "channel " << channel;
            EXPECT_LE(bendAt(audio, 0, channel), bend) << "channel " << channel;
        }
    }
}
