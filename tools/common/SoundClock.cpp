#include "SoundClock.h"

#include "app/AppMain.h"
#include "sound/Music.h"
#include "sound/System.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

SoundClock::SoundClock(AppMain& app, const char* toolName)
    : app(app),
      toolName(toolName)
{
    if (app.music->soundSystem()->getCaptureSampleRate(&rate) != FMOD::FMOD_OK || rate <= 0) {
        std::fprintf(stderr, "%s: the sound is not captured; the race runs without it\n", toolName);
        rate = 0;
        failed = true;
    }
}

const std::vector<float>& SoundClock::render(double seconds)
{
    secondsDone += seconds;
    const long due = std::lround(secondsDone * rate);
    const int frames = static_cast<int>(due - framesDone);
    framesDone = due;
    samples.assign(static_cast<std::size_t>(std::max(frames, 0)) * 2, 0.0f);
    if (frames > 0 && !failed &&
        app.music->soundSystem()->renderCapture(samples.data(), frames) != FMOD::FMOD_OK) {
        std::fprintf(stderr, "%s: mixing the captured sound failed; silence from here on\n", toolName);
        samples.assign(samples.size(), 0.0f);
        failed = true;
    }
    return samples;
}
