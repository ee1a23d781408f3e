// Program entry: reads the configuration, starts the showcase and runs the
// frame loop until Esc is released.
#include "app/AppMain.h"
#include "app/ConfigFile.h"
#include "app/DeveloperKeys.h"
#include "app/FrameRateCounter.h"
#include "app/KeyTest.h"
#include "app/Launch.h"
#include "app/ProgramSettings.h"
#include "app/UncaughtErrorReport.h"
#include "app/ViewerControls.h"
#include "settings/Settings.h"

#include <chrono>
#include <cstdio>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

// Start-up as a user waits for it: from the top of main to the first race
// frame on screen, loading and the renderer's first compiles included.
void reportStartup(Clock::time_point start)
{
    const std::chrono::duration<double> waited = Clock::now() - start;
    std::printf("First race frame drawn %.2f s after start.\n", waited.count());
}

// Each frame runs the race for the time the frame before took (none while
// paused, more or less at another race speed), in the race clock's fixed
// steps, then draws; the first frame has taken no time yet.
void runFrameLoop(AppMain& app, Clock::time_point start)
{
    KeyTest keys;
    DeveloperKeys developerKeys(*app.music);
    ViewerControls viewer;
    FrameRateCounter frameRate;
    bool running = true;
    bool firstFrame = true;
    double frameSeconds = 0.0;
    while (running) {
        developerKeys.poll(app.window, keys);
        viewer.poll(app, keys);
        if (keys.fired(GLFW_KEY_BACKSPACE, app.window.getKey(GLFW_KEY_BACKSPACE) == GLFW_PRESS)) {
            app.restart();
        }
        // Esc ends the loop after this iteration; closing the window does the same.
        bool escape = keys.fired(platform::GLFW_KEY_ESC, app.window.getKey(platform::GLFW_KEY_ESC) == GLFW_PRESS);
        if (escape || app.window.closeRequested()) {
            running = false;
        }

        viewer.flyCamera(app, frameSeconds);
        app.advance(viewer.raceSeconds(frameSeconds));
        app.viewerLines = viewer.screenLines(app);
        app.draw();
        if (firstFrame) {
            reportStartup(start);
            firstFrame = false;
        }

        frameSeconds = app.window.getTime();
        app.window.setTime(0.0);
        if (frameRate.addFrame(frameSeconds)) {
            app.window.setWindowTitle(frameRate.title().c_str());
        }
    }
}

} // namespace

int main()
{
    const Clock::time_point start = Clock::now();
    // Console lines are read by people and scripts as they happen.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    installUncaughtErrorReport();

    auto config = std::make_unique<ConfigFile>(programSettings::configFile, "=", "#", "EndConfigFile");
    programSettings::readWindow(*config);

    LaunchOptions options;
    options.width = windowWidth;
    options.height = windowHeight;
    options.windowMode = windowMode;
    options.muted = config->getWholeNumber("sound", 1) == 0;
    options.raceStep = programSettings::readRaceStep(*config);
    options.quality = programSettings::readQuality(*config);
    options.showStartScreen = true;
    std::unique_ptr<AppMain> app = launch(options);
    if (app) {
        std::printf("Random seed %u.\n", app->randomSeed);
        app->window.enable(GLFW_STICKY_KEYS);
        deltaTime = 0.0;
        app->window.setTime(0.0);
        runFrameLoop(*app, start);
    }
    app.reset();
    config.reset();
    return 0;
}
