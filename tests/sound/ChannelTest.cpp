// The sound system and its channels, mixing into memory: what a play sounds
// like, how long it lasts, and what a file the system cannot use gives.
#include "sound/Channel.h"
#include "sound/System.h"

#include "SoundTestSupport.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace FMOD;
using namespace soundtest;

using ChannelTest = CaptureTest;

TEST_F(ChannelTest, DoubleFrequencyDoublesThePitchAndHalfVolumeHalvesTheAmplitude)
{
    Channel* channel = play(load(tonePath, kLooping));
    ASSERT_NE(channel, nullptr);
    float frequency = 0.0f;
    ASSERT_EQ(channel->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 44100.0f);
    const Capture full = render(*system, 0.5);
    EXPECT_NEAR(measuredFrequency(full, 0), 440.0, 440.0 * 0.02);

    ASSERT_EQ(channel->setFrequency(2.0f * frequency), FMOD_OK);
    ASSERT_EQ(channel->setVolume(0.5f), FMOD_OK);
    ASSERT_EQ(channel->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 88200.0f);
    render(*system, kSettle);
    const Capture half = render(*system, 0.5);
    EXPECT_NEAR(measuredFrequency(half, 0), 880.0, 880.0 * 0.02);
    ASSERT_GT(rms(full, 0), 0.05);
    EXPECT_NEAR(rms(half, 0) / rms(full, 0), 0.5, 0.02);
    EXPECT_NEAR(peak(half) / peak(full), 0.5, 0.03);
}

TEST_F(ChannelTest, MonoIsCentredUnattenuatedAndStereoKeepsItsSides)
{
    const auto leftOnly = dir.file("left-only.wav");
    ASSERT_TRUE(writeTone(leftOnly, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 440.0, 1.0));
    Channel* channel = play(load(tonePath, kLooping));
    ASSERT_NE(channel, nullptr);
    const Capture mono = render(*system, 0.25);
    EXPECT_NEAR(rms(mono, 0) / rms(mono, 1), 1.0, 0.01) << "mono sound is panned";
    // A half-scale sine split evenly over two speakers: 0.5/sqrt(2) per
    // channel at most. Distance attenuation would pull it well below.
    EXPECT_GT(rms(mono, 0), 0.5 / std::sqrt(2.0) * 0.5);
    EXPECT_LT(rms(mono, 0), 0.5 / std::sqrt(2.0) * 1.05);

    ASSERT_EQ(channel->setMute(true), FMOD_OK);
    ASSERT_NE(play(load(leftOnly, kLooping)), nullptr);
    render(*system, kSettle);
    const Capture sides = render(*system, 0.25);
    EXPECT_GT(rms(sides, 0), 0.3);
    EXPECT_LT(rms(sides, 1), rms(sides, 0) * 0.01) << "left channel leaks into the right speaker";
}

TEST_F(ChannelTest, OneShotFreesItsChannelWhenItEndsButALoopPlaysOn)
{
    Sound* oneShot = load(tonePath, kOneShot);
    Channel* first = play(oneShot);
    Channel* loop = play(load(tonePath, kLooping));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(loop, nullptr);
    Channel* none = reinterpret_cast<Channel*>(this);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, oneShot, false, &none), FMOD_ERR_CHANNEL_ALLOC);
    EXPECT_EQ(none, nullptr);

    render(*system, 0.9);
    EXPECT_TRUE(playing(first));
    render(*system, 0.15);
    EXPECT_FALSE(playing(first));
    EXPECT_EQ(position(first), 0u);
    // The loop plays on past its end; the 1 s tone has whole cycles, so a
    // seamless loop keeps one clean pitch.
    render(*system, 2.0);
    EXPECT_TRUE(playing(loop));
    const Capture tail = render(*system, 0.2);
    EXPECT_GT(rms(tail, 0), 0.1);
    EXPECT_NEAR(measuredFrequency(tail, 0), 440.0, 440.0 * 0.03);
    EXPECT_NEAR(position(loop), 250u, 10u);
    // A finished play's handle stays valid until its channel is reused.
    EXPECT_EQ(first->setVolume(0.5f), FMOD_OK);

    EXPECT_NE(play(oneShot), nullptr);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, oneShot, false, nullptr), FMOD_ERR_CHANNEL_ALLOC);
}

using SystemTest = CaptureTest;

TEST_F(SystemTest, WavAndMp3BothDecodeAndPlay)
{
    const auto mp3Path = dir.file("tone.mp3");
    ASSERT_TRUE(writeTone(mp3Path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 440.0, 1.0));
    for (const auto& path : {tonePath, mp3Path}) {
        SCOPED_TRACE(path.filename().string());
        Sound* sound = load(path, kOneShot);
        ASSERT_NE(sound, nullptr);
        ASSERT_NE(play(sound), nullptr);
        render(*system, 0.1); // past the MP3 encoder delay
        const Capture capture = render(*system, 0.5);
        EXPECT_GT(rms(capture, 0), 0.1);
        EXPECT_NEAR(measuredFrequency(capture, 0), 440.0, 440.0 * 0.02);
        render(*system, 0.6); // let it end so its channel frees up
    }
}

// What is no sound the system can play fails without a sound (the sound bank
// then ends the program with its error line): text, an empty file, a header
// without samples, four channels. A WAV named .mp3 plays by its content.
TEST_F(SystemTest, UnusableFilesFailWithoutASoundAndAMisnamedOnePlays)
{
    const auto text = dir.file("broken.mp3");
    std::ofstream(text) << "plain words, no frames an MP3 decoder could sync to";
    const auto empty = dir.file("empty.wav");
    ASSERT_TRUE(writeTone(empty, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 0.0));
    const auto surround = dir.file("quad.wav");
    ASSERT_TRUE(writeTone(surround, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, 440.0, 0.1));
    const auto headerOnly = dir.file("header.wav");
    std::ofstream(headerOnly, std::ios::binary) << std::ifstream(tonePath, std::ios::binary).rdbuf();
    std::filesystem::resize_file(headerOnly, 44);

    Sound* sound = reinterpret_cast<Sound*>(this);
    EXPECT_EQ(system->createStream(dir.file("missing.wav").c_str(), kOneShot, nullptr, &sound),
              FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(sound, nullptr);
    for (const auto& path : {text, empty, surround, headerOnly}) {
        SCOPED_TRACE(path.filename().string());
        sound = reinterpret_cast<Sound*>(this);
        EXPECT_NE(system->createStream(path.c_str(), kLooping, nullptr, &sound), FMOD_OK);
        EXPECT_EQ(sound, nullptr);
    }

    const auto renamed = dir.file("renamed.mp3");
    std::filesystem::copy_file(tonePath, renamed);
    ASSERT_NE(play(load(renamed, kLooping)), nullptr);
    EXPECT_NEAR(measuredFrequency(render(*system, 0.5), 0), 440.0, 440.0 * 0.02);
}

TEST(SilentOutputTest, ChannelsKeepRealTimeWithoutADevice)
{
    TempDir dir;
    const auto shortTone = dir.file("short.wav");
    ASSERT_TRUE(writeTone(shortTone, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 0.2));
    SystemPtr system = makeSystem(FMOD_INIT_SILENT, 2);
    ASSERT_TRUE(system);
    Sound* oneShot = nullptr;
    Sound* loop = nullptr;
    ASSERT_EQ(system->createStream(shortTone.c_str(), kOneShot, nullptr, &oneShot), FMOD_OK);
    ASSERT_EQ(system->createStream(shortTone.c_str(), kLooping, nullptr, &loop), FMOD_OK);
    Channel* oneShotChannel = nullptr;
    Channel* loopChannel = nullptr;
    using Clock = std::chrono::steady_clock;
    const Clock::time_point beforePlay = Clock::now();
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, oneShot, false, &oneShotChannel), FMOD_OK);
    const Clock::time_point afterPlay = Clock::now();
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, &loopChannel), FMOD_OK);

    // The sleep may overrun on a busy machine; the play must have advanced by
    // the time that really passed, give or take a few milliseconds of mixing.
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Clock::time_point beforeQuery = Clock::now();
    unsigned position = 0;
    ASSERT_EQ(oneShotChannel->getPosition(&position), FMOD_OK);
    const Clock::time_point afterQuery = Clock::now();
    const auto ms = [](Clock::duration d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
    EXPECT_GE(static_cast<long>(position), ms(beforeQuery - afterPlay) - 5);
    EXPECT_LE(static_cast<long>(position), ms(afterQuery - beforePlay) + 5);

    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    bool playing = true;
    ASSERT_EQ(oneShotChannel->isPlaying(&playing), FMOD_OK);
    EXPECT_FALSE(playing) << "a 0.2 s sound was still playing after 0.35 s";
    ASSERT_EQ(loopChannel->isPlaying(&playing), FMOD_OK);
    EXPECT_TRUE(playing);
}

}  // namespace
