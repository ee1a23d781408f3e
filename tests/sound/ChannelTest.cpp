#include "sound/Channel.h"

#include "SoundTestSupport.h"

#include <limits>

namespace {

using namespace FMOD;
using namespace soundtest;

constexpr unsigned kLooping = 0x2A;
constexpr unsigned kOneShot = 0x0;
constexpr double kSilence = 1e-4;
// Long enough for OpenAL's gain and pitch changes to finish fading.
constexpr double kSettle = 0.02;

// Capture-mode system with a 1 s, 440 Hz, half-scale mono tone loaded once
// as a loop and once as a one-shot.
class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto path = dir.file("tone.wav");
        ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 1.0));
        system = makeSystem(FMOD_INIT_CAPTURE, 2);
        ASSERT_TRUE(system);
        ASSERT_EQ(system->createStream(path.c_str(), kLooping, nullptr, &loop), FMOD_OK);
        ASSERT_EQ(system->createStream(path.c_str(), kOneShot, nullptr, &oneShot), FMOD_OK);
    }

    Channel* play(Sound* sound, bool paused = false)
    {
        Channel* channel = nullptr;
        EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, paused, &channel), FMOD_OK);
        return channel;
    }

    bool playing(Channel* channel)
    {
        bool result = false;
        EXPECT_EQ(channel->isPlaying(&result), FMOD_OK);
        return result;
    }

    unsigned position(Channel* channel)
    {
        unsigned result = 0;
        EXPECT_EQ(channel->getPosition(&result), FMOD_OK);
        return result;
    }

    TempDir dir;
    SystemPtr system;
    Sound* loop = nullptr;
    Sound* oneShot = nullptr;
};

// --- pitch -----------------------------------------------------------------

TEST_F(ChannelTest, FrequencyStartsAtTheSoundsRateAndScalesPitch)
{
    Channel* channel = play(loop);
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

    ASSERT_EQ(channel->setFrequency(22050.0f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_NEAR(measuredFrequency(render(*system, 0.5), 0), 220.0, 220.0 * 0.02);
}

TEST_F(ChannelTest, OutOfRangeFrequenciesAreClampedNotErrors)
{
    Channel* channel = play(loop);
    ASSERT_NE(channel, nullptr);
    float frequency = -1.0f;
    for (float bad : {0.0f, -44100.0f}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(channel->setFrequency(bad), FMOD_OK);
        ASSERT_EQ(channel->getFrequency(&frequency), FMOD_OK);
        EXPECT_GE(frequency, 0.0f);
        EXPECT_LT(frequency, 1.0f);
    }
    EXPECT_EQ(channel->setFrequency(1e9f), FMOD_OK);
    ASSERT_EQ(channel->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 44100.0f * 8.0f);
    EXPECT_EQ(channel->setFrequency(std::numeric_limits<float>::quiet_NaN()), FMOD_ERR_INVALID_PARAM);

    // None of that may have broken the source: back at base it plays 440 Hz.
    ASSERT_EQ(channel->setFrequency(44100.0f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_NEAR(measuredFrequency(render(*system, 0.5), 0), 440.0, 440.0 * 0.02);
    EXPECT_TRUE(playing(channel));
}

// --- volume and mute -------------------------------------------------------

TEST_F(ChannelTest, HalfVolumeHalvesTheAmplitude)
{
    Channel* channel = play(loop);
    ASSERT_NE(channel, nullptr);
    const Capture full = render(*system, 0.25);
    ASSERT_EQ(channel->setVolume(0.5f), FMOD_OK);
    render(*system, kSettle);
    const Capture half = render(*system, 0.25);

    ASSERT_GT(rms(full, 0), 0.05);
    EXPECT_NEAR(rms(half, 0) / rms(full, 0), 0.5, 0.02);
    EXPECT_NEAR(peak(half) / peak(full), 0.5, 0.03);

    ASSERT_EQ(channel->setVolume(0.0f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_LT(peak(render(*system, 0.1)), kSilence);

    // Above 1 is clamped rather than amplified.
    ASSERT_EQ(channel->setVolume(3.0f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_NEAR(rms(render(*system, 0.25), 0) / rms(full, 0), 1.0, 0.02);
    // Below 0 means silence, not an OpenAL error that keeps the old gain.
    ASSERT_EQ(channel->setVolume(-0.5f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_LT(peak(render(*system, 0.1)), kSilence);
    EXPECT_EQ(channel->setVolume(std::numeric_limits<float>::quiet_NaN()), FMOD_ERR_INVALID_PARAM);
}

TEST_F(ChannelTest, MonoPlaysCentredAtFullLevel)
{
    ASSERT_NE(play(loop), nullptr);
    const Capture capture = render(*system, 0.25);
    const double left = rms(capture, 0);
    const double right = rms(capture, 1);
    EXPECT_NEAR(left / right, 1.0, 0.01) << "mono sound is panned";
    // A half-scale sine, split evenly over two speakers: 0.5/sqrt(2) per
    // channel at most. Distance attenuation would pull it well below.
    EXPECT_GT(left, 0.5 / std::sqrt(2.0) * 0.5);
    EXPECT_LT(left, 0.5 / std::sqrt(2.0) * 1.05);
}

TEST_F(ChannelTest, StereoChannelsReachTheirOwnSpeaker)
{
    const auto path = dir.file("left-only.wav");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 2, 440.0, 1.0));
    Sound* stereo = nullptr;
    ASSERT_EQ(system->createStream(path.c_str(), kLooping, nullptr, &stereo), FMOD_OK);
    ASSERT_NE(play(stereo), nullptr);
    const Capture capture = render(*system, 0.25);
    EXPECT_GT(rms(capture, 0), 0.3);
    EXPECT_LT(rms(capture, 1), rms(capture, 0) * 0.01) << "left channel leaks into the right speaker";
}

TEST_F(ChannelTest, MuteSilencesWhileThePlayKeepsAdvancing)
{
    Channel* channel = play(oneShot);
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
    const double resumed = rms(render(*system, 0.1), 0);
    EXPECT_NEAR(resumed / audible, 0.5, 0.02) << "unmute did not restore the stored volume";
    EXPECT_GT(position(channel), whileMuted) << "unmute restarted the sound";

    ASSERT_EQ(channel->setVolume(0.6f), FMOD_OK);
    render(*system, kSettle);
    EXPECT_NEAR(rms(render(*system, 0.1), 0) / audible, 1.0, 0.02);
}

// --- looping, one-shots and channel reuse ----------------------------------

TEST_F(ChannelTest, LoopingSoundPlaysOnIndefinitely)
{
    Channel* channel = play(loop);
    ASSERT_NE(channel, nullptr);
    render(*system, 3.0);
    EXPECT_TRUE(playing(channel));
    const Capture tail = render(*system, 0.2);
    EXPECT_GT(rms(tail, 0), 0.1);
    // The 1 s tone has whole cycles, so a seamless loop keeps one clean pitch.
    EXPECT_NEAR(measuredFrequency(tail, 0), 440.0, 440.0 * 0.03);
    EXPECT_NEAR(position(channel), 200u, 10u);
}

TEST_F(ChannelTest, OneShotEndsAndFreesItsChannel)
{
    // Fill both channels with one-shots, then let them end.
    Channel* first = play(oneShot);
    Channel* second = play(oneShot);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    Channel* none = nullptr;
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, oneShot, false, &none), FMOD_ERR_CHANNEL_ALLOC);

    render(*system, 0.9);
    EXPECT_TRUE(playing(first));
    render(*system, 0.15);
    EXPECT_FALSE(playing(first));
    EXPECT_FALSE(playing(second));
    EXPECT_EQ(position(first), 0u);
    EXPECT_LT(peak(render(*system, 0.1)), kSilence);
    // A finished play's handle stays valid until its channel is reused.
    EXPECT_EQ(first->setVolume(0.5f), FMOD_OK);

    Channel* again = play(oneShot);
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(playing(again));
    EXPECT_GT(rms(render(*system, 0.1), 0), 0.1);
}

TEST_F(ChannelTest, StaleHandleCannotDisturbTheNextPlay)
{
    SystemPtr single = makeSystem(FMOD_INIT_CAPTURE, 1);
    ASSERT_TRUE(single);
    const auto path = dir.file("short.wav");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 0.1));
    Sound* blip = nullptr;
    ASSERT_EQ(single->createStream(path.c_str(), kOneShot, nullptr, &blip), FMOD_OK);
    Sound* tone = nullptr;
    ASSERT_EQ(single->createStream(dir.file("tone.wav").c_str(), kLooping, nullptr, &tone), FMOD_OK);

    Channel* old = nullptr;
    ASSERT_EQ(single->playSound(FMOD_CHANNEL_FREE, blip, false, &old), FMOD_OK);
    render(*single, 0.2);
    Channel* current = nullptr;
    ASSERT_EQ(single->playSound(FMOD_CHANNEL_FREE, tone, false, &current), FMOD_OK);
    ASSERT_NE(current, nullptr);

    EXPECT_EQ(old->setVolume(0.0f), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(old->setMute(true), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(old->setFrequency(88200.0f), FMOD_ERR_INVALID_HANDLE);
    float frequency = -1.0f;
    EXPECT_EQ(old->getFrequency(&frequency), FMOD_ERR_INVALID_HANDLE);
    bool isPlaying = true;
    EXPECT_EQ(old->isPlaying(&isPlaying), FMOD_ERR_INVALID_HANDLE);
    EXPECT_FALSE(isPlaying);

    ASSERT_EQ(current->getFrequency(&frequency), FMOD_OK);
    EXPECT_FLOAT_EQ(frequency, 44100.0f);
    render(*single, kSettle);
    const Capture capture = render(*single, 0.25);
    EXPECT_GT(rms(capture, 0), 0.1) << "stale handle muted the new play";
    EXPECT_NEAR(measuredFrequency(capture, 0), 440.0, 440.0 * 0.02);
}

TEST_F(ChannelTest, PausedStartHoldsItsChannelSilently)
{
    Channel* held = play(oneShot, true);
    ASSERT_NE(held, nullptr);
    EXPECT_LT(peak(render(*system, 0.2)), kSilence);
    EXPECT_TRUE(playing(held));
    EXPECT_EQ(position(held), 0u);
    ASSERT_NE(play(loop), nullptr);
    Channel* none = nullptr;
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, &none), FMOD_ERR_CHANNEL_ALLOC);
}

TEST_F(ChannelTest, QueriesRejectNullOutputs)
{
    Channel* channel = play(loop);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->getFrequency(nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(channel->isPlaying(nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(channel->getPosition(nullptr), FMOD_ERR_INVALID_PARAM);
}

}  // namespace
