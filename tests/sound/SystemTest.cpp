#include "sound/System.h"

#include "SoundTestSupport.h"

#include <chrono>
#include <fstream>
#include <string>
#include <thread>

namespace {

using namespace FMOD;
using namespace soundtest;

constexpr unsigned kLooping = 0x2A;
constexpr unsigned kOneShot = 0x0;
constexpr double kSilence = 1e-4;

// A capture-mode system with a 1 s 440 Hz tone on disk, ready to load.
class SystemTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(writeTone(tonePath, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 1.0));
        system = makeSystem(FMOD_INIT_CAPTURE, 2);
        ASSERT_TRUE(system);
    }

    Sound* load(const std::filesystem::path& path, unsigned mode)
    {
        Sound* sound = nullptr;
        EXPECT_EQ(system->createStream(path.c_str(), mode, nullptr, &sound), FMOD_OK);
        return sound;
    }

    TempDir dir;
    std::filesystem::path tonePath = dir.file("tone.wav");
    SystemPtr system;
};

TEST(SystemLifecycleTest, EverythingBeforeInitIsRefused)
{
    EXPECT_EQ(FMOD_System_Create(nullptr), FMOD_ERR_INVALID_PARAM);
    System* raw = nullptr;
    ASSERT_EQ(FMOD_System_Create(&raw), FMOD_OK);
    ASSERT_NE(raw, nullptr);
    SystemPtr system(raw);

    Sound* sound = reinterpret_cast<Sound*>(&raw);  // must be overwritten
    EXPECT_EQ(system->createStream("anything.wav", 0, nullptr, &sound), FMOD_ERR_UNINITIALIZED);
    EXPECT_EQ(sound, nullptr);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, nullptr, false, nullptr), FMOD_ERR_UNINITIALIZED);
    float buffer[2] = {};
    EXPECT_EQ(system->renderCapture(buffer, 1), FMOD_ERR_UNINITIALIZED);
    int rate = -1;
    EXPECT_EQ(system->getCaptureSampleRate(&rate), FMOD_ERR_UNINITIALIZED);
}

TEST(SystemLifecycleTest, InitRejectsBadArgumentsAndSecondCalls)
{
    System* raw = nullptr;
    ASSERT_EQ(FMOD_System_Create(&raw), FMOD_OK);
    SystemPtr system(raw);
    EXPECT_EQ(system->init(0, FMOD_INIT_CAPTURE, nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->init(-3, FMOD_INIT_CAPTURE, nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->init(System::kMaxChannels + 1, FMOD_INIT_CAPTURE, nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->init(4, FMOD_INIT_CAPTURE | FMOD_INIT_SILENT, nullptr), FMOD_ERR_INVALID_PARAM);
    // Refused calls must not have left a half-open device behind.
    EXPECT_EQ(system->init(4, FMOD_INIT_CAPTURE, nullptr), FMOD_OK);
    EXPECT_EQ(system->init(4, FMOD_INIT_CAPTURE, nullptr), FMOD_ERR_INITIALIZED);
}

TEST_F(SystemTest, CaptureFormatAndArguments)
{
    int rate = 0;
    EXPECT_EQ(system->getCaptureSampleRate(&rate), FMOD_OK);
    EXPECT_EQ(rate, kRate);
    EXPECT_EQ(system->getCaptureSampleRate(nullptr), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->renderCapture(nullptr, 16), FMOD_ERR_INVALID_PARAM);
    float buffer[2] = {};
    EXPECT_EQ(system->renderCapture(buffer, -1), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->renderCapture(buffer, 0), FMOD_OK);

    Capture quiet(2048, 1.0f);
    ASSERT_EQ(system->renderCapture(quiet.data(), 1024), FMOD_OK);
    EXPECT_LT(peak(quiet), kSilence) << "nothing plays, yet the mix is not silent";
}

TEST_F(SystemTest, WavAndMp3BothDecodeAndPlay)
{
    const auto mp3Path = dir.file("tone.mp3");
    ASSERT_TRUE(writeTone(mp3Path, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 440.0, 1.0));

    for (const auto& path : {tonePath, mp3Path}) {
        SCOPED_TRACE(path.filename().string());
        Sound* sound = load(path, kOneShot);
        ASSERT_NE(sound, nullptr);
        Channel* channel = nullptr;
        ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_OK);
        ASSERT_NE(channel, nullptr);
        render(*system, 0.1);  // past the MP3 encoder delay
        const Capture capture = render(*system, 0.5);
        EXPECT_GT(rms(capture, 0), 0.1);
        EXPECT_NEAR(measuredFrequency(capture, 0), 440.0, 440.0 * 0.02);
        render(*system, 0.6);  // let it end so its channel frees up
    }
}

TEST_F(SystemTest, UnusableFilesFailWithoutASound)
{
    Sound* sound = reinterpret_cast<Sound*>(this);
    EXPECT_EQ(system->createStream(dir.file("missing.wav").c_str(), kOneShot, nullptr, &sound),
              FMOD_ERR_FILE_NOTFOUND);
    EXPECT_EQ(sound, nullptr);

    const auto text = dir.file("broken.mp3");
    std::ofstream(text) << "plain words, no frames an MP3 decoder could sync to";
    sound = reinterpret_cast<Sound*>(this);
    EXPECT_NE(system->createStream(text.c_str(), kLooping, nullptr, &sound), FMOD_OK);
    EXPECT_EQ(sound, nullptr);

    EXPECT_EQ(system->createStream(nullptr, kOneShot, nullptr, &sound), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->createStream(tonePath.c_str(), kOneShot, nullptr, nullptr), FMOD_ERR_INVALID_PARAM);
}

TEST_F(SystemTest, ChannelCountFromInitIsEnforced)
{
    Sound* loop = load(tonePath, kLooping);
    ASSERT_NE(loop, nullptr);
    Channel* first = nullptr;
    Channel* second = nullptr;
    Channel* third = reinterpret_cast<Channel*>(this);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, &first), FMOD_OK);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, &second), FMOD_OK);
    EXPECT_NE(first, second);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, &third), FMOD_ERR_CHANNEL_ALLOC);
    EXPECT_EQ(third, nullptr);

    // Looping channels never free themselves.
    render(*system, 1.5);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, &third), FMOD_ERR_CHANNEL_ALLOC);
}

TEST_F(SystemTest, PlaySoundRejectsBadArguments)
{
    Sound* sound = load(tonePath, kOneShot);
    ASSERT_NE(sound, nullptr);
    Channel* channel = nullptr;
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, nullptr, false, &channel), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->playSound(2, sound, false, &channel), FMOD_ERR_INVALID_PARAM);
    EXPECT_EQ(system->playSound(-7, sound, false, &channel), FMOD_ERR_INVALID_PARAM);

    SystemPtr other = makeSystem(FMOD_INIT_CAPTURE, 1);
    ASSERT_TRUE(other);
    EXPECT_EQ(other->playSound(FMOD_CHANNEL_FREE, sound, false, &channel), FMOD_ERR_INVALID_HANDLE);
    EXPECT_EQ(channel, nullptr);
}

TEST_F(SystemTest, PlayingWithoutAHandleStillPlays)
{
    Sound* sound = load(tonePath, kOneShot);
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, nullptr), FMOD_OK);
    EXPECT_GT(rms(render(*system, 0.2), 0), 0.1);
}

TEST_F(SystemTest, ExplicitIndexReplacesWhatPlaysThere)
{
    Sound* loop = load(tonePath, kLooping);
    ASSERT_NE(loop, nullptr);
    Channel* before = nullptr;
    Channel* after = nullptr;
    ASSERT_EQ(system->playSound(0, loop, false, &before), FMOD_OK);
    render(*system, 0.3);
    ASSERT_EQ(system->playSound(0, loop, false, &after), FMOD_OK);
    unsigned position = 1;
    EXPECT_EQ(after->getPosition(&position), FMOD_OK);
    EXPECT_EQ(position, 0u) << "the replacement did not start from the beginning";
    EXPECT_EQ(before->setVolume(0.0f), FMOD_ERR_INVALID_HANDLE);
    // Slot 1 is still free, so exactly one more free play fits.
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, nullptr), FMOD_OK);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, loop, false, nullptr), FMOD_ERR_CHANNEL_ALLOC);
}

TEST_F(SystemTest, SystemsMixOnlyTheirOwnSounds)
{
    SystemPtr other = makeSystem(FMOD_INIT_CAPTURE, 1);
    ASSERT_TRUE(other);
    Sound* sound = load(tonePath, kLooping);
    ASSERT_NE(sound, nullptr);
    ASSERT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, nullptr), FMOD_OK);
    EXPECT_LT(peak(render(*other, 0.1)), kSilence);
    EXPECT_GT(rms(render(*system, 0.1), 0), 0.1);
    other.reset();
    // Releasing one system must leave the other's context usable.
    EXPECT_GT(rms(render(*system, 0.1), 0), 0.1);
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, sound, false, nullptr), FMOD_OK);
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

    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    const Clock::time_point beforeQuery = Clock::now();
    unsigned position = 0;
    ASSERT_EQ(oneShotChannel->getPosition(&position), FMOD_OK);
    const Clock::time_point afterQuery = Clock::now();
    // The sleep may overrun on a busy machine; the play must have advanced
    // by the time that really passed, give or take a few milliseconds of
    // mixing granularity.
    const auto ms = [](Clock::duration d) {
        return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(d).count());
    };
    EXPECT_GE(static_cast<long>(position), ms(beforeQuery - afterPlay) - 5);
    EXPECT_LE(static_cast<long>(position), ms(afterQuery - beforePlay) + 5);

    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    bool playing = true;
    ASSERT_EQ(oneShotChannel->isPlaying(&playing), FMOD_OK);
    EXPECT_FALSE(playing) << "a 0.2 s sound was still playing after 0.35 s";
    ASSERT_EQ(loopChannel->isPlaying(&playing), FMOD_OK);
    EXPECT_TRUE(playing);
    // The finished one-shot's channel is free again.
    EXPECT_EQ(system->playSound(FMOD_CHANNEL_FREE, oneShot, false, nullptr), FMOD_OK);

    float buffer[2] = {};
    EXPECT_EQ(system->renderCapture(buffer, 1), FMOD_ERR_UNSUPPORTED);
    int rate = 0;
    EXPECT_EQ(system->getCaptureSampleRate(&rate), FMOD_ERR_UNSUPPORTED);
}

}  // namespace
