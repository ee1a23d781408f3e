#include "sound/SoundFileDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <iterator>
#include <limits>
#include <memory>
#include <system_error>
#include <utility>
#include <vector>

namespace FMOD {
namespace {

struct SndFileCloser {
    void operator()(SNDFILE* file) const { sf_close(file); }
};
using SndFilePtr = std::unique_ptr<SNDFILE, SndFileCloser>;

constexpr sf_count_t kReadChunkFrames = 8192;

// alBufferData takes the byte size as a signed int.
constexpr std::size_t kMaxSamples = std::numeric_limits<int>::max() / sizeof(std::int16_t);

std::int16_t toPcm16(float value)
{
    // Lossy decoders overshoot full scale a little; clamp instead of wrapping.
    const float clamped = std::clamp(value, -1.0f, 1.0f);
    return static_cast<std::int16_t>(std::lrint(clamped * 32767.0f));
}

}  // namespace

FMOD_RESULT SoundFileDecoder::decode(const char* path, DecodedAudio& out)
{
    out = DecodedAudio{};
    if (path == nullptr || *path == '\0')
        return FMOD_ERR_INVALID_PARAM;

    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return FMOD_ERR_FILE_NOTFOUND;

    SF_INFO info{};
    SndFilePtr file(sf_open(path, SFM_READ, &info));
    if (!file)
        return sf_error(nullptr) == SF_ERR_SYSTEM ? FMOD_ERR_FILE_BAD : FMOD_ERR_FORMAT;
    if (info.channels < 1 || info.channels > kMaxChannels || info.samplerate <= 0)
        return FMOD_ERR_FORMAT;

    DecodedAudio decoded;
    decoded.channels = info.channels;
    decoded.sampleRate = info.samplerate;
    // The frame count is only an estimate for some formats (MP3), so it
    // guides the reservation but the loop reads until the decoder runs dry.
    if (info.frames > 0 && static_cast<std::size_t>(info.frames) < kMaxSamples / info.channels)
        decoded.samples.reserve(static_cast<std::size_t>(info.frames) * info.channels);

    std::vector<float> chunk(static_cast<std::size_t>(kReadChunkFrames) * info.channels);
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kReadChunkFrames);
        if (got <= 0)
            break;
        const std::size_t count = static_cast<std::size_t>(got) * info.channels;
        if (decoded.samples.size() + count > kMaxSamples)
            return FMOD_ERR_FORMAT;
        std::transform(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count),
                       std::back_inserter(decoded.samples), toPcm16);
    }

    // A truncated file that still produced audio is played as far as it
    // goes; one that produced nothing is not a sound.
    if (decoded.samples.empty())
        return FMOD_ERR_FORMAT;

    out = std::move(decoded);
    return FMOD_OK;
}

}  // namespace FMOD
