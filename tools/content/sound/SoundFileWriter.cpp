#include "sound/SoundFileWriter.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace sound {
namespace {

// Writes the samples and closes the file; reports a short write.
template <typename Sample>
bool finish(SNDFILE* file, const std::filesystem::path& path, const std::vector<Sample>& samples, int channels,
            sf_count_t (*write)(SNDFILE*, const Sample*, sf_count_t))
{
    const sf_count_t frames = static_cast<sf_count_t>(samples.size() / static_cast<std::size_t>(channels));
    const sf_count_t written = write(file, samples.data(), frames);
    const bool ok = written == frames;
    if (!ok) {
        std::printf("Error writing sound '%s': %s\n", path.string().c_str(), sf_strerror(file));
    }
    if (sf_close(file) != 0) {
        std::printf("Error closing sound '%s'\n", path.string().c_str());
        return false;
    }
    return ok;
}

SNDFILE* openForWriting(const std::filesystem::path& path, int channels, int format)
{
    SF_INFO info{};
    info.samplerate = kSampleRate;
    info.channels = channels;
    info.format = format;
    SNDFILE* file = sf_open(path.string().c_str(), SFM_WRITE, &info);
    if (file == nullptr) {
        std::printf("Error creating sound '%s': %s\n", path.string().c_str(), sf_strerror(nullptr));
    }
    return file;
}

} // namespace

bool writeWav(const std::filesystem::path& path, const Signal& signal)
{
    // Converted here rather than by libsndfile so the rounding is ours and
    // the bytes cannot depend on the library's float handling.
    std::vector<short> pcm(signal.samples.size());
    std::transform(signal.samples.begin(), signal.samples.end(), pcm.begin(), [](float sample) {
        return static_cast<short>(std::lrint(std::clamp(sample, -1.0f, 1.0f) * 32767.0f));
    });
    SNDFILE* file = openForWriting(path, signal.channels, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
    return file != nullptr && finish(file, path, pcm, signal.channels, sf_writef_short);
}

bool writeMp3(const std::filesystem::path& path, const Signal& signal, double compression)
{
    SNDFILE* file = openForWriting(path, signal.channels, SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III);
    if (file == nullptr) {
        return false;
    }
    // Not checked: libsndfile 1.2 answers these two with a status that
    // depends on their order although both take effect; a broken encoder
    // shows up as a short write instead.
    sf_command(file, SFC_SET_COMPRESSION_LEVEL, &compression, sizeof(compression));
    int mode = SF_BITRATE_MODE_VARIABLE;
    sf_command(file, SFC_SET_BITRATE_MODE, &mode, sizeof(mode));
    return finish(file, path, signal.samples, signal.channels, sf_writef_float);
}

} // namespace sound
