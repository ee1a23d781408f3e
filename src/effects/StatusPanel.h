#pragma once

#include "effects/HudLayout.h"

#include <array>
#include <cstdint>

// Which atlas quad each glyph of the status panel shows, decided without any
// GL so that the choice can be checked on its own.
namespace hud {

// What the panel reports: the process-wide toggles, the texture manager's
// filter modes and the frame counters, as read at draw time.
struct StatusSettings {
    double framesPerSecond = 0.0;
    std::uint32_t drawCounter = 0;
    unsigned int drawMode = GL_TRIANGLES;
    int samplingMode = 0;
    int mipmapMode = 0;
    bool soundMuted = false;
    bool frustumCulling = true;
    bool transparency = true;
};

struct DigitPlaces {
    int hundreds;
    int tens;
    int units;
};

// The panel has three places per number; larger values show as 999 rather
// than pick quads beyond the digits.
constexpr int largestShownNumber = 999;

// Digits of the frame rate, its fraction dropped.
DigitPlaces frameRateDigits(double framesPerSecond);
DigitPlaces drawCallDigits(std::uint32_t drawCalls);

// The word quad of each toggle row.
int wireFrameWord(unsigned int drawMode);
int samplingWord(int samplingMode);
int mipmappingWord(int mipmapMode);
int soundWord(bool soundMuted);
int switchWord(bool on);

// The quad of every glyph in drawing order: frame-rate hundreds, tens and
// units, draw-call hundreds, tens and units, then the words of rows 2 to 7.
// Glyph i is drawn with placement i.
std::array<int, placementCount> glyphQuads(const StatusSettings& settings);

} // namespace hud
