#pragma once

#include "sound/Signal.h"

#include <filesystem>

namespace sound {

// 16-bit PCM WAV at the signal's channel count. Prints what failed and
// returns false when the file cannot be written.
bool writeWav(const std::filesystem::path& path, const Signal& signal);

// MPEG layer III through libsndfile's LAME writer, variable bit rate;
// `compression` runs from 0 (best quality) to 1 (smallest file).
bool writeMp3(const std::filesystem::path& path, const Signal& signal, double compression);

} // namespace sound
