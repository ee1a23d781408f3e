#include "sound/Channel.h"

#include "SoundTestSupport.h"

namespace {

using namespace FMOD;
using namespace soundtest;

using ChannelTest = CaptureTest;

TEST_F(ChannelTest, DoubleFrequencyDoublesThePitch)
{
    Channel* channel = play(load(tonePath, kLooping));
    ASSERT_NE(channel, nullptr);
    float frequency = 0.0f;
    ASSERT_EQ(channel->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 44100.0f);
    EXPECT_NEAR(measuredFrequency(render(*system, 0.5), 0), 440.0, 440.0 * 0.02);

    ASSERT_EQ(channel->setFrequency(2.0f * frequency), FMOD_OK);
    ASSERT_EQ(channel->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 88200.0f);
    render(*system, kSettle);
    EXPECT_NEAR(measuredFrequency(render(*system, 0.5), 0), 880.0, 880.0 * 0.02);
}

TEST_F(ChannelTest, HalfVolumeHalvesTheAmplitude)
{
    Channel* channel = play(load(tonePath, kLooping));
    ASSERT_NE(channel, nullptr);
    const Capture full = render(*system, 0.25);
    ASSERT_EQ(channel->setVolume(0.5f), FMOD_OK);
    render(*system, kSettle);
    const Capture half = render(*system, 0.25);

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

TEST_F(ChannelTest, MuteSilencesWhileThePlayKeepsAdvancing)
{
    Channel* channel = play(load(tonePath, kOneShot));
    ASSERT_NE(channel, nullptr);
    ASSERT_EQ(channel->setVolume(0.6f), FMOD_OK);
    render(*system, 0.05);
    const double audible = rms(render(*system, 0.1), 0);
    const unsigned beforeMute = position(channel);
    EXPECT_NEAR(beforeMute, 150u, 10u);

    ASSERT_EQ(channel->setMute(true), FMOD_OK);
    // Volume changes while muted are remembered, not heard.
    ASSERT_EQ(channel->setVolume(0.3f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_LT(peak(render(*system, 0.3)), kSilence);
    const unsigned whileMuted = position(channel);
    EXPECT_NEAR(whileMuted, beforeMute + 320u, 10u) << "muting paused the play";
    EXPECT_TRUE(playing(channel));

    ASSERT_EQ(channel->setMute(false), FMOD_OK);
    render(*system, kSettle);
    EXPECT_NEAR(rms(render(*system, 0.1), 0) / audible, 0.5, 0.02) << "unmute did not restore the stored volume";
    EXPECT_GT(position(channel), whileMuted) << "unmute restarted the sound";
}

TEST_F(ChannelTest, LoopingSoundPlaysOnIndefinitely)
{
    Channel* channel = play(load(tonePath, kLooping));
    ASSERT_NE(channel, nullptr);
    render(*system, 3.0);
    EXPECT_TRUE(playing(channel));
    const Capture tail = render(*system, 0.2);
    EXPECT_GT(rms(tail, 0), 0.1);
    // The 1 s tone has whole cycles, so a seamless loop keeps one clean pitch.
    EXPECT_NEAR(measuredFrequency(tail, 0), 440.0, 440.0 * 0.03);
    EXPECT_NEAR(position(channel), 200u, 10u);
}

TEST_F(ChannelTest, OneShotFreesItsChannelWhenItEndsButALoopNever)
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
    EXPECT_TRUE(playing(loop));
    // A finished play's handle stays valid until its channel is reused.
    EXPECT_EQ(first->setVolume(0.5f), FMOD_OK);

    EXPECT_NE(play(oneShot), nullptr);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, oneShot, false, nullptr), FMOD_ERR_CHANNEL_ALLOC);
}

TEST_F(ChannelTest, ReplacedPlayStartsAfreshAndItsOldHandleGoesStale)
{
    Sound* loop = load(tonePath, kLooping);
    Channel* before = nullptr;
    ASSERT_EQ(system->playSound(0, loop, false, &before), FMOD_OK);
    ASSERT_EQ(before->setFrequency(88200.0f), FMOD_OK);
    ASSERT_EQ(before->setVolume(0.25f), FMOD_OK);
    ASSERT_EQ(before->setMute(true), FMOD_OK);
    render(*system, 0.3);

    Channel* after = nullptr;
    ASSERT_EQ(system->playSound(0, loop, false, &after), FMOD_OK);
    EXPECT_EQ(position(after), 0u) << "the replacement did not start from the beginning";
    EXPECT_EQ(before->setVolume(0.0f), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(before->setMute(true), FMOD_ERR_INVALID_HANDLE);
    bool isPlaying = true;
    EXPECT_EQ(before->isPlaying(&isPlaying), FMOD_ERR_INVALID_HANDLE);
    EXPECT_FALSE(isPlaying);

    // The new play has none of the old one's pitch, volume or mute.
    float frequency = 0.0f;
    ASSERT_EQ(after->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 44100.0f);
    render(*system, kSettle);
    const Capture capture = render(*system, 0.25);
    EXPECT_GT(rms(capture, 0), 0.2);
    EXPECT_NEAR(measuredFrequency(capture, 0), 440.0, 440.0 * 0.02);
    // Slot 1 is still free, so exactly one more free play fits.
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, nullptr), FMOD_OK);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, nullptr), FMOD_ERR_CHANNEL_ALLOC);
}

}  // namespace
