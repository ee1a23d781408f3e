#include "StepSound.h"

#include "app/AppMain.h"
#include "sound/Music.h"
#include "sound/System.h"

#include <cmath>
#include <cstdio>

StepSound::StepSound(AppMain& app, double step)
    : app(app),
      step(step)
{
    if (app.music->soundSystem()->getCaptureSampleRate(&rate) != FMOD::FMOD_OK || rate <= 0) {
        std::fprintf(stderr, "brimbolt_soak: the sound is not captured; the race runs without mixing it\n");
        rate = 0;
        failed = true;
    }
}

bool StepSound::render()
{
    if (failed) {
        return false;
    }
    ++stepsDone;
    const long due = std::lround(static_cast<double>(stepsDone) * step * rate);
    const int frames = static_cast<int>(due - framesDone);
    framesDone = due;
    if (frames <= 0) {
        return true;
    }
    samples.resize(static_cast<std::size_t>(frames) * 2);
    if (app.music->soundSystem()->renderCapture(samples.data(), frames) != FMOD::FMOD_OK) {
        std::fprintf(stderr, "brimbolt_soak: mixing the captured sound failed; it is not mixed from here on\n");
        failed = true;
        return false;
    }
    return true;
}
