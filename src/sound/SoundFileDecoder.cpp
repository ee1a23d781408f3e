#include "sound/SoundFileDecoder.h"

#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
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

// A RIFF file (WAV) says its own length in bytes 4 to 7; a copy that stopped
// early holds less. libsndfile then quietly plays what is there.
bool isCutShortRiff(const char* path)
{
    std::ifstream file(path, std::ios::binary);
    unsigned char header[8] = {};
    if (!file.read(reinterpret_cast<char*>(header), sizeof header) || std::memcmp(header, "RIFF", 4) != 0)
        return false;
    const std::uint64_t announced = 8u + (std::uint64_t{header[4]} | std::uint64_t{header[5]} << 8 |
                                          std::uint64_t{header[6]} << 16 | std::uint64_t{header[7]} << 24);
    std::error_code ec;
    const std::uintmax_t actual = std::filesystem::file_size(path, ec);
    return !ec && actual < announced;
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
    std::size_t notNumbers = 0;
    for (;;) {
        const sf_count_t got = sf_readf_float(file.get(), chunk.data(), kReadChunkFrames);
        if (got <= 0)
            break;
        const std::size_t count = static_cast<std::size_t>(got) * info.channels;
        if (decoded.samples.size() + count > kMaxSamples)
            return FMOD_ERR_FORMAT;
        // Float files can hold NaN and infinities, which no clamp tames.
        for (std::size_t i = 0; i < count; ++i) {
            if (!std::isfinite(chunk[i])) {
                chunk[i] = 0.0f;
                ++notNumbers;
            }
        }
        std::transform(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count),
                       std::back_inserter(decoded.samples), toPcm16);
    }

    // A truncated file that still produced audio is played as far as it
    // goes; one that produced nothing is not a sound.
    if (decoded.samples.empty())
        return FMOD_ERR_FORMAT;
    // The announced length is exact for WAV and for MP3 with a length header.
    const sf_count_t frames = static_cast<sf_count_t>(decoded.frames());
    if (frames < info.frames || isCutShortRiff(path)) {
        std::printf("Sound file '%s' is cut short; playing the %.2f s it holds.\n", path,
                    static_cast<double>(frames) / decoded.sampleRate);
    }
    if (notNumbers > 0) {
        std::printf("Sound file '%s' holds %zu samples that are not finite numbers; they play as silence.\n", path,
                    notNumbers);
    }

    out = std::move(decoded);
    return FMOD_OK;
}

}  // namespace FMOD
