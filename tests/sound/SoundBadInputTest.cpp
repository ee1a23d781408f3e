#include "sound/SoundFileDecoder.h"

#include "SoundTestSupport.h"
#include "support/CapturedOutput.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

namespace {

using namespace FMOD;
using namespace soundtest;

// Decodes path with standard output captured; what was printed goes to printed.
FMOD_RESULT decodePrinting(const std::filesystem::path& path, DecodedAudio& audio, std::string& printed)
{
    FMOD_RESULT result = FMOD_OK;
    printed = printedBy([&] { result = SoundFileDecoder::decode(path.c_str(), audio); });
    return result;
}

void keepFirstBytes(const std::filesystem::path& from, const std::filesystem::path& to, double share)
{
    std::ifstream in(from, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::ofstream(to, std::ios::binary) << bytes.substr(0, static_cast<std::size_t>(bytes.size() * share));
}

// A mono 32-bit float WAV holding exactly these samples.
bool writeFloats(const std::filesystem::path& path, const std::vector<float>& samples)
{
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr)
        return false;
    // Stored as given: no clipping or normalisation on the way to the file.
    sf_command(file, SFC_SET_NORM_FLOAT, nullptr, SF_FALSE);
    const auto frames = static_cast<sf_count_t>(samples.size());
    const sf_count_t written = sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return written == frames;
}

} // namespace

// A WAV or MP3 whose copy stopped early plays what it holds, with one line
// naming the file; whole files decode without a word.
TEST(SoundBadInput, CutShortFilesPlayWhatTheyHoldWithOneLine)
{
    TempDir dir;
    const auto wav = dir.file("tone.wav");
    const auto mp3 = dir.file("tone.mp3");
    ASSERT_TRUE(writeTone(wav, SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 440.0, 1.0));
    ASSERT_TRUE(writeTone(mp3, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 1, 440.0, 1.0));
    for (const auto& whole : {wav, mp3}) {
        SCOPED_TRACE(whole.filename().string());
        DecodedAudio audio;
        std::string printed;
        ASSERT_EQ(decodePrinting(whole, audio, printed), FMOD_OK);
        EXPECT_EQ(printed, "");
        const std::int64_t wholeFrames = audio.frames();

        const auto cut = dir.file("cut_" + whole.filename().string());
        keepFirstBytes(whole, cut, 0.4);
        ASSERT_EQ(decodePrinting(cut, audio, printed), FMOD_OK);
        EXPECT_GT(audio.frames(), 0);
        EXPECT_LT(audio.frames(), wholeFrames * 6 / 10);
        EXPECT_EQ(printed.rfind("Sound file '" + cut.string() + "' is cut short; playing the 0.", 0), 0u) << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
    }
}

// Float files can hold NaN and infinities: those samples play as silence and
// are counted in one line; finite overshoot is clamped to full scale, not
// wrapped round to the negative end.
TEST(SoundBadInput, SamplesThatAreNotNumbersPlayAsSilenceAndOvershootIsClamped)
{
    TempDir dir;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const auto path = dir.file("absurd.wav");
    ASSERT_TRUE(writeFloats(path, {nan, 0.5f, inf, 1.0e30f, -inf, -1.0e30f, nan, 0.25f}));
    DecodedAudio audio;
    std::string printed;
    ASSERT_EQ(decodePrinting(path, audio, printed), FMOD_OK);
    EXPECT_EQ(audio.channels, 1);
    EXPECT_EQ(audio.sampleRate, kRate);
    const std::vector<std::int16_t> expected = {0, 16384, 0, 32767, 0, -32767, 0, 8192};
    EXPECT_EQ(audio.samples, expected);
    EXPECT_EQ(printed,
              "Sound file '" + path.string() + "' holds 4 samples that are not finite numbers; they play as silence.\n");
}
