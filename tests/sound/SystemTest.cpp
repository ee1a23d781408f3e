#include "sound/System.h"

#include "SoundTestSupport.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace FMOD;
using namespace soundtest;

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

TEST_F(SystemTest, UnusableFilesFailWithoutASound)
{
    const auto text = dir.file("broken.mp3");
    std::ofstream(text) << "plain words, no frames an MP3 decoder could sync to";
    const auto empty = dir.file("empty.wav");
    ASSERT_TRUE(writeTone(empty, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 0.0));
    const auto surround = dir.file("quad.wav");
    ASSERT_TRUE(writeTone(surround, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 4, 440.0, 0.1));

    Sound* sound = reinterpret_cast<Sound*>(this);
    EXPECT_EQ(system->createStream(dir.file("missing.wav").c_str(), kOneShot, nullptr, &sound),
              FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(sound, nullptr);
    for (const auto& path : {text, empty, surround}) {
        SCOPED_TRACE(path.filename().string());
        sound = reinterpret_cast<Sound*>(this);
        EXPECT_NE(system->createStream(path.c_str(), kLooping, nullptr, &sound), FMOD_OK);
        EXPECT_EQ(sound, nullptr);
    }
}

TEST_F(SystemTest, SystemsMixOnlyTheirOwnSounds)
{
    SystemPtr other = makeSystem(FMOD_INIT_CAPTURE, 1);
    ASSERT_TRUE(other);
    Sound* sound = load(tonePath, kLooping);
    ASSERT_NE(play(sound), nullptr);
    EXPECT_LT(peak(render(*other, 0.1)), kSilence);
    EXPECT_GT(rms(render(*system, 0.1), 0), 0.1);
    other.reset();
    // Releasing one system must leave the other's context usable.
    EXPECT_GT(rms(render(*system, 0.1), 0), 0.1);
    EXPECT_NE(play(sound), nullptr);
}

TEST(SilentOutputTest, NormalInitSucceedsWithOrWithoutHardware)
{
    // No sound is played here, so this is quiet on machines with speakers
    // too; without them it must fall back and say so exactly once.
    System* raw = nullptr;
    ASSERT_EQ(FMOD_System_Create(&raw), FMOD_OK);
    SystemPtr system(raw);
    ::testing::internal::CaptureStderr();
    const FMOD_RESULT result = system->init(8, FMOD_INIT_NORMAL, nullptr);
    const std::string printed = ::testing::internal::GetCapturedStderr();
    ASSERT_EQ(result, FMOD_OK) << FMOD_ErrorString(result);
    if (!printed.empty()) {
        EXPECT_EQ(printed, "Sound: no audio device found, playing silently.\n");
    }
    // Normal output is never a capture device.
    float buffer[2] = {};
    EXPECT_EQ(system->renderCapture(buffer, 1), FMOD_ERR_UNSUPPORTED);
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
