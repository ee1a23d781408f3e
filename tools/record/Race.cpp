#include "Race.h"

#include "app/AppMain.h"
#include "app/EngineStart.h"
#include "settings/Settings.h"

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
    // As the program starts: the engines running, and a second restart.
    startEngines(*app->music);
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

} // namespace race
