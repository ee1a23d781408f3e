#include "effects/StatusPanel.h"

#include "assets/TextureManager.h"

#include <algorithm>

namespace hud {

namespace {

DigitPlaces digitsOf(long long value)
{
    int shown = static_cast<int>(std::clamp<long long>(value, 0, largestShownNumber));
    return {shown / 100, (shown % 100) / 10, shown % 10};
}

} // namespace

DigitPlaces frameRateDigits(double framesPerSecond)
{
    // Compared as a double first, so that a huge or infinite rate never
    // reaches an integer conversion that could overflow.
    double bounded = std::clamp(framesPerSecond, 0.0, static_cast<double>(largestShownNumber));
    return digitsOf(static_cast<long long>(bounded));
}

DigitPlaces drawCallDigits(std::uint32_t drawCalls)
{
    return digitsOf(static_cast<long long>(drawCalls));
}

int wireFrameWord(unsigned int drawMode)
{
    return drawMode == GL_TRIANGLES ? wordOff : wordOn;
}

int samplingWord(int samplingMode)
{
    return samplingMode == TextureManager::samplingNearest ? firstFilterWord : secondFilterWord;
}

int mipmappingWord(int mipmapMode)
{
    switch (mipmapMode) {
    case TextureManager::mipmapOff:
        return wordOff;
    case TextureManager::mipmapLinear:
        return firstFilterWord;
    default:
        return secondFilterWord;
    }
}

int soundWord(bool soundMuted)
{
    return soundMuted ? wordOff : wordOn;
}

int switchWord(bool on)
{
    return on ? wordOn : wordOff;
}

std::array<int, placementCount> glyphQuads(const StatusSettings& settings)
{
    DigitPlaces frameRate = frameRateDigits(settings.framesPerSecond);
    DigitPlaces drawCalls = drawCallDigits(settings.drawCounter);
    // Digit d is quad d, so a digit value is its own quad index.
    return {frameRate.hundreds,
            frameRate.tens,
            frameRate.units,
            drawCalls.hundreds,
            drawCalls.tens,
            drawCalls.units,
            wireFrameWord(settings.drawMode),
            samplingWord(settings.samplingMode),
            mipmappingWord(settings.mipmapMode),
            soundWord(settings.soundMuted),
            switchWord(settings.frustumCulling),
            switchWord(settings.transparency)};
}

} // namespace hud
