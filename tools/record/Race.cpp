#include "Race.h"

#include "app/AppMain.h"
#include "settings/Settings.h"
#include "sound/Music.h"
#include "sound/System.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace race {

AppMain* start(const Options& options)
{
    windowWidth = options.width;
    windowHeight = options.height;
    windowMode = platform::GLFW_WINDOW;
    AppMain* app = new AppMain(AppMain::SoundOutput::Capture);
    // After the application's own seeding: every run draws the same stone
    // headings and the same smoke.
    std::srand(options.seed);
    if (!app->initWindow()) {
        std::fprintf(stderr, "brimbolt_record: cannot open a window (no display? try xvfb-run -a)\n");
        delete app;
        return nullptr;
    }
    app->loadShaders();
    app->loadContent();
    // As the program starts: the music quieter once the race is on, both
    // engines running, and a second restart.
    app->music->setVolume(0, 0.3f);
    for (int engine = 0; engine < numPlayers && engine < Music::engineCount; ++engine) {
        app->music->startEngine(engine);
    }
    app->restart();
    return app;
}

void step(AppMain& app, double seconds, bool draw)
{
    deltaTime = seconds;
    app.update();
    if (draw) {
        app.draw();
    }
}

SoundClock::SoundClock(AppMain& app, double step)
    : app(app),
      step(step)
{
    app.music->soundSystem()->getCaptureSampleRate(&rate);
}

const std::vector<float>& SoundClock::render()
{
    ++stepsDone;
    const long due = std::lround(static_cast<double>(stepsDone) * step * rate);
    const int frames = static_cast<int>(due - framesDone);
    framesDone = due;
    samples.assign(static_cast<std::size_t>(frames) * 2, 0.0f);
    if (frames > 0) {
        app.music->soundSystem()->renderCapture(samples.data(), frames);
    }
    return samples;
}

} // namespace race
