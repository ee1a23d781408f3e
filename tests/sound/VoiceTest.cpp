#include "sound/Voice.h"

#include "sound/AlBuffer.h"
#include "sound/AudioDevice.h"
#include "sound/Sound.h"

#include <AL/al.h>
#include <AL/alext.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace {

using namespace FMOD;

// Source settings that cannot be heard on a stereo capture (distance
// attenuation with a fixed listener, stereo virtualisation that happens to
// land on the same two speakers) are checked on the OpenAL source itself.
class VoiceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(AudioDevice::open(AudioDevice::Mode::Capture, 4, device), FMOD_OK);
        device->update();
        mono.emplace(makeBuffer(1), 22050, 1, 64, false);
        stereo.emplace(makeBuffer(2), 48000, 2, 64, true);
        voice = std::make_unique<Voice>();
    }

    void TearDown() override
    {
        device->update();
        voice.reset();
        mono.reset();
        stereo.reset();
    }

    static AlBuffer makeBuffer(int channels)
    {
        AlBuffer buffer;
        const std::vector<std::int16_t> samples(static_cast<std::size_t>(64 * channels), 1000);
        alBufferData(buffer.id(), channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples.data(),
                     static_cast<ALsizei>(samples.size() * sizeof(samples[0])), 22050);
        return buffer;
    }

    ALint intOf(ALenum property) const
    {
        ALint value = -1;
        alGetSourcei(voice->sourceId(), property, &value);
        return value;
    }

    float floatOf(ALenum property) const
    {
        ALfloat value = -1.0f;
        alGetSourcef(voice->sourceId(), property, &value);
        return value;
    }

    std::unique_ptr<AudioDevice> device;
    std::optional<Sound> mono;
    std::optional<Sound> stereo;
    std::unique_ptr<Voice> voice;
};

TEST_F(VoiceTest, PlaysUnpositionedAndUnattenuated)
{
    ASSERT_TRUE(voice->valid());
    ASSERT_TRUE(voice->start(*mono, false, device->hasDirectChannels()));
    EXPECT_EQ(intOf(AL_SOURCE_RELATIVE), AL_TRUE);
    EXPECT_FLOAT_EQ(floatOf(AL_ROLLOFF_FACTOR), 0.0f);
    ALfloat position[3] = {1.0f, 1.0f, 1.0f};
    alGetSourcefv(voice->sourceId(), AL_POSITION, position);
    EXPECT_FLOAT_EQ(position[0], 0.0f);
    EXPECT_FLOAT_EQ(position[1], 0.0f);
    EXPECT_FLOAT_EQ(position[2], 0.0f);
    EXPECT_EQ(intOf(AL_LOOPING), AL_FALSE);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

TEST_F(VoiceTest, OnlyStereoBypassesVirtualSpeakers)
{
    if (!device->hasDirectChannels())
        GTEST_SKIP() << "OpenAL lacks AL_SOFT_direct_channels";
    ASSERT_TRUE(voice->start(*stereo, false, true));
    EXPECT_EQ(intOf(AL_DIRECT_CHANNELS_SOFT), AL_TRUE);
    EXPECT_EQ(intOf(AL_LOOPING), AL_TRUE);
    // The same slot reused for mono must not keep the stereo setting.
    ASSERT_TRUE(voice->start(*mono, false, true));
    EXPECT_EQ(intOf(AL_DIRECT_CHANNELS_SOFT), AL_FALSE);
}

TEST_F(VoiceTest, RestartResetsPerPlayState)
{
    ASSERT_TRUE(voice->start(*stereo, false, device->hasDirectChannels()));
    const std::uint64_t first = voice->generation();
    voice->setFrequency(96000.0f);
    voice->setVolume(0.25f);
    voice->setMute(true);
    EXPECT_FLOAT_EQ(floatOf(AL_PITCH), 2.0f);
    EXPECT_FLOAT_EQ(floatOf(AL_GAIN), 0.0f);
    voice->setMute(false);
    EXPECT_FLOAT_EQ(floatOf(AL_GAIN), 0.25f);

    ASSERT_TRUE(voice->start(*mono, false, device->hasDirectChannels()));
    EXPECT_GT(voice->generation(), first);
    EXPECT_FLOAT_EQ(voice->frequency(), 22050.0f);
    EXPECT_FLOAT_EQ(floatOf(AL_PITCH), 1.0f);
    EXPECT_FLOAT_EQ(floatOf(AL_GAIN), 1.0f);
    EXPECT_EQ(alGetError(), AL_NO_ERROR);
}

}  // namespace
