#include "sound/Channel.h"
#include "sound/Music.h"
#include "sound/System.h"

#include "SoundTestSupport.h"

#include <gtest/gtest.h>

#include <unistd.h>

using namespace soundtest;

namespace {

// A bank that mixes into memory, with a 440 Hz tone in the given slots.
struct CapturedBank {
    TempDir dir;
    Music music{FMOD::FMOD_INIT_CAPTURE};

    void load(SoundSlot slot, bool looping, double seconds = 2.0)
    {
        auto path = dir.file("tone" + std::to_string(static_cast<int>(slot)) + ".wav");
        ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, seconds));
        music.loadSlot(slot, path.string(), looping);
    }
    Capture render(double seconds) { return soundtest::render(*music.soundSystem(), seconds); }
    float volume(SoundSlot slot)
    {
        float value = -1.0f;
        music.channel(slot)->getVolume(&value);
        return value;
    }
    float frequency(SoundSlot slot)
    {
        float value = -1.0f;
        music.channel(slot)->getFrequency(&value);
        return value;
    }
    bool muted(FMOD::Channel* channel)
    {
        bool value = false;
        EXPECT_EQ(channel->getMute(&value), FMOD::FMOD_OK);
        return value;
    }
};

} // namespace

// An engine idles quietly at its own rate; moving, its pitch and volume rise
// with the speed, reversing alike, the first engine's volume more slowly than
// the others'. Only the engines there are can be updated.
TEST(Music, EnginePitchAndVolumeFollowTheSpeed)
{
    CapturedBank bank;
    bank.load(SoundSlot::Engine1, true);
    bank.load(SoundSlot::Engine2, true);
    bank.music.startEngine(0);
    bank.music.startEngine(1);
    bank.music.channel(SoundSlot::Engine2)->setMute(true); // listen to one engine at a time

    bank.music.updateEngine(0, 0.0f);
    EXPECT_FLOAT_EQ(bank.frequency(SoundSlot::Engine1), 44100.0f);
    const Capture idle = bank.render(0.5);
    EXPECT_NEAR(measuredFrequency(idle, 0), 440.0, 4.0);

    bank.music.updateEngine(0, 10.0f);
    const Capture moving = bank.render(0.5);
    EXPECT_NEAR(measuredFrequency(moving, 0), 440.0 * 49100.0 / 44100.0, 5.0) << "500 Hz of rate per unit of speed";
    EXPECT_GT(rms(moving, 0), 1.5 * rms(idle, 0));

    const float forwardPitch = bank.frequency(SoundSlot::Engine1), forwardVolume = bank.volume(SoundSlot::Engine1);
    bank.music.updateEngine(0, -10.0f);
    EXPECT_FLOAT_EQ(bank.frequency(SoundSlot::Engine1), forwardPitch);
    EXPECT_FLOAT_EQ(bank.volume(SoundSlot::Engine1), forwardVolume);

    bank.music.updateEngine(1, 10.0f);
    EXPECT_FLOAT_EQ(bank.frequency(SoundSlot::Engine2), forwardPitch);
    EXPECT_GT(bank.volume(SoundSlot::Engine2), forwardVolume);
    bank.music.updateEngine(4, 30.0f);
    bank.music.updateEngine(-1, 30.0f);
    EXPECT_FLOAT_EQ(bank.volume(SoundSlot::Engine1), forwardVolume);
}

TEST(Music, MuteKeepsChannelsAdvancingAndUnmuteResumesMidStream)
{
    CapturedBank bank;
    bank.load(SoundSlot::Music, true, 3.0);
    bank.music.play(SoundSlot::Music);
    EXPECT_GT(peak(bank.render(0.5)), 0.1);

    bank.music.setMute(true);
    EXPECT_TRUE(bank.music.isMuted());
    unsigned before = 0, after = 0;
    bank.music.channel(SoundSlot::Music)->getPosition(&before);
    bank.render(0.02); // the mixer ramps gain changes over a few milliseconds
    EXPECT_LT(peak(bank.render(0.48)), 1e-4);
    bank.music.channel(SoundSlot::Music)->getPosition(&after);
    EXPECT_NEAR(double(after) - double(before), 500.0, 30.0);

    bank.music.setMute(false);
    EXPECT_GT(peak(bank.render(0.2)), 0.1);
    unsigned resumed = 0;
    bank.music.channel(SoundSlot::Music)->getPosition(&resumed);
    EXPECT_GT(resumed, after);

    // A sound started while the bank is muted starts silent.
    bank.load(SoundSlot::Engine1, true);
    bank.music.setMute(true);
    bank.music.startEngine(0);
    EXPECT_TRUE(bank.muted(bank.music.channel(SoundSlot::Engine1)));
    bank.render(0.02);
    EXPECT_LT(peak(bank.render(0.2)), 1e-4);
}

TEST(MusicDeathTest, MissingFileEndsTheProgramWithTheErrorLine)
{
    EXPECT_EXIT(
        {
            // The error line goes to standard output; route it where the death test reads.
            ::dup2(STDERR_FILENO, STDOUT_FILENO);
            Music music(FMOD::FMOD_INIT_CAPTURE);
            music.loadSlot(SoundSlot::PowerUp1, "/nonexistent/brimbolt/powerup1.mp3", false);
        },
        ::testing::ExitedWithCode(255), "^FMOD error! \\([0-9]+\\) .+\n$");
}

// Paused, every sound of the bank is silent and holds its place, a sound
// started meanwhile starts held, and all go on from where they were.
TEST(Music, PauseHoldsEverySoundWhereItIsAndWhatStartsMeanwhile)
{
    CapturedBank bank;
    bank.load(SoundSlot::Music, true, 3.0);
    bank.load(SoundSlot::Engine1, true);
    bank.music.play(SoundSlot::Music);
    bank.render(0.5);

    bank.music.setPaused(true);
    EXPECT_TRUE(bank.music.isPaused());
    bank.music.startEngine(0);
    FMOD::Channel* music = bank.music.channel(SoundSlot::Music);
    FMOD::Channel* engine = bank.music.channel(SoundSlot::Engine1);
    unsigned before = 0, after = 0, engineAt = 0;
    music->getPosition(&before);
    EXPECT_LT(peak(bank.render(0.5)), 1e-4);
    music->getPosition(&after);
    engine->getPosition(&engineAt);
    EXPECT_EQ(after, before);
    EXPECT_EQ(engineAt, 0u);
    bool held = false, playing = false;
    EXPECT_EQ(engine->getPaused(&held), FMOD::FMOD_OK);
    EXPECT_TRUE(held);
    engine->isPlaying(&playing);
    EXPECT_TRUE(playing) << "a held sound is still playing, so its slot is not given away";

    bank.music.setPaused(false);
    EXPECT_GT(peak(bank.render(0.3)), 0.1);
    music->getPosition(&after);
    engine->getPosition(&engineAt);
    EXPECT_NEAR(double(after) - double(before), 300.0, 30.0);
    EXPECT_NEAR(double(engineAt), 300.0, 30.0);
}
