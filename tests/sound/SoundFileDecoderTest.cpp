#include "sound/SoundFileDecoder.h"

#include "SoundTestSupport.h"

namespace {

using namespace FMOD;
using namespace soundtest;

TEST(SoundFileDecoderTest, DecodesEveryFrameAndClampsOvershoot)
{
    TempDir dir;
    const auto path = dir.file("loud.wav");
    ASSERT_TRUE(writeTone(path, SF_FORMAT_WAV | SF_FORMAT_FLOAT, 1, 440.0, 0.2, 1.5));
    DecodedAudio audio;
    ASSERT_EQ(SoundFileDecoder::decode(path.c_str(), audio), FMOD_OK);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_EQ(audio.sampleRate, kRate);
    EXPECT_EQ(audio.frames(), kRate / 5);
    // A quarter period in, the source is at +1.5 and must read as full scale,
    // not wrap round to a negative.
    const std::size_t crest = static_cast<std::size_t>(kRate / 440 / 4);
    ASSERT_LT(crest, audio.samples.size());
    EXPECT_GE(audio.samples[crest], 32000);
}

}  // namespace
