#include "sound/SoundFileDecoder.h"

#include "SoundTestSupport.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>

namespace {

using namespace FMOD;
using soundtest::kRate;
using soundtest::TempDir;
using soundtest::writeTone;

int peakOf(const DecodedAudio& audio, int channel)
{
    int best = 0;
    for (std::size_t i = static_cast<std::size_t>(channel); i < audio.samples.size();
         i += static_cast<std::size_t>(audio.channels))
        best = std::max(best, std::abs(static_cast<int>(audio.samples[i])));
    return best;
}

TEST(SoundFileDecoderTest, DecodesMonoWavCompletely)
{
    TempDir dir;
    const auto path = dir.file("tone.wav");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 1.0));
    DecodedAudio audio;
    ASSERT_EQ(SoundFileDecoder::decode(path.c_str(), audio), FMOD_OK);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_EQ(audio.sampleRate, kRate);
    EXPECT_EQ(audio.frames(), kRate);
    EXPECT_NEAR(peakOf(audio, 0), 16384, 200);
}

TEST(SoundFileDecoderTest, KeepsStereoChannelsApart)
{
    TempDir dir;
    const auto path = dir.file("left.wav");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 440.0, 0.5));
    DecodedAudio audio;
    ASSERT_EQ(SoundFileDecoder::decode(path.c_str(), audio), FMOD_OK);
    EXPECT_EQ(audio.channels, 2);
    EXPECT_EQ(audio.frames(), kRate / 2);
    EXPECT_GT(peakOf(audio, 0), 16000);
    EXPECT_EQ(peakOf(audio, 1), 0);
}

TEST(SoundFileDecoderTest, DecodesMp3)
{
    TempDir dir;
    const auto path = dir.file("tone.mp3");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 440.0, 1.0));
    DecodedAudio audio;
    ASSERT_EQ(SoundFileDecoder::decode(path.c_str(), audio), FMOD_OK);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_EQ(audio.sampleRate, kRate);
    // Encoder delay and padding make MP3 a little longer than its source.
    EXPECT_GE(audio.frames(), kRate * 95 / 100);
    EXPECT_LE(audio.frames(), kRate * 110 / 100);
    EXPECT_NEAR(peakOf(audio, 0), 16384, 1600);
}

TEST(SoundFileDecoderTest, FloatOvershootIsClampedNotWrapped)
{
    TempDir dir;
    const auto path = dir.file("loud.wav");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 440.0, 0.2, 1.5));
    DecodedAudio audio;
    ASSERT_EQ(SoundFileDecoder::decode(path.c_str(), audio), FMOD_OK);
    // A quarter period in, the source is at +1.5: it must read as full scale.
    const std::size_t crest = static_cast<std::size_t>(kRate / 440 / 4);
    EXPECT_GE(audio.samples[crest], 32000);
}

TEST(SoundFileDecoderTest, ReportsWhyAFileCannotBeUsed)
{
    TempDir dir;
    DecodedAudio audio;
    audio.channels = 1;
    audio.samples = {1, 2, 3};

    EXPECT_EQ(SoundFileDecoder::decode(nullptr, audio), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(SoundFileDecoder::decode("", audio), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(SoundFileDecoder::decode(dir.file("missing.wav").c_str(), audio), FMOD_ERR_FILE_NOTFOUND);
    EXPECT_TRUE(audio.samples.empty()) << "failed decode left old samples behind";

    const auto folder = dir.file("folder.wav");
    std::filesystem::create_directory(folder);
    EXPECT_EQ(SoundFileDecoder::decode(folder.c_str(), audio), FMOD_ERR_FILE_NOTFOUND);

    const auto text = dir.file("notes.wav");
    std::ofstream(text) << "this is not audio, just some words in a file\n";
    EXPECT_EQ(SoundFileDecoder::decode(text.c_str(), audio), FMOD_ERR_FORMAT);

    const auto empty = dir.file("empty.wav");
    ASSERT_TRUE(writeTone(empty, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 0.0));
    EXPECT_EQ(SoundFileDecoder::decode(empty.c_str(), audio), FMOD_ERR_FORMAT);

    const auto surround = dir.file("quad.wav");
    ASSERT_TRUE(writeTone(surround, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, 440.0, 0.1));
    EXPECT_EQ(SoundFileDecoder::decode(surround.c_str(), audio), FMOD_ERR_FORMAT);
    EXPECT_EQ(audio.channels, 0);
}

}  // namespace
