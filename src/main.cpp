// Program entry: reads the configuration, opens the window, loads the content
// and runs the frame loop until Esc is released.
#include "app/AppMain.h"
#include "app/ConfigFile.h"
#include "app/DeveloperKeys.h"
#include "app/EngineStart.h"
#include "app/FrameRateCounter.h"
#include "app/KeyTest.h"
#include "app/UncaughtErrorReport.h"
#include "app/WindowSize.h"
#include "assets/UserInterface.h"
#include "settings/Settings.h"
#include "sound/Music.h"

#include <chrono>
#include <cstdio>
#include <iostream>

namespace {

// Window sides the window system and the GL can give: no window opens at 0
// pixels, and 8K is more than any display shows.
constexpr int smallestWindowSide = 1;
constexpr int largestWindowSide = 8192;

void readSettings(const ConfigFile& config)
{
    windowWidth = config.getWholeNumber("width", 1280, smallestWindowSide, largestWindowSide);
    windowHeight = config.getWholeNumber("height", 720, smallestWindowSide, largestWindowSide);
    maxWidth = config.getWholeNumber("maxWidth", 1920, smallestWindowSide, largestWindowSide);
    maxHeight = config.getWholeNumber("maxHeight", 1080, smallestWindowSide, largestWindowSide);
    windowMode = WindowSize::modeFromConfig(config.getWholeNumber("fullscreen", 1));
}

using Clock = std::chrono::steady_clock;

// Start-up as a user waits for it: from the top of main to the first race
// frame on screen, loading and the renderer's first compiles included.
void reportStartup(Clock::time_point start)
{
    const std::chrono::duration<double> waited = Clock::now() - start;
    std::printf("First race frame drawn %.2f s after start.\n", waited.count());
}

void runFrameLoop(AppMain& app, Clock::time_point start)
{
    KeyTest keys;
    DeveloperKeys developerKeys(*app.music);
    FrameRateCounter frameRate;
    bool running = true;
    bool firstFrame = true;
    while (running) {
        developerKeys.poll(app.window, keys);
        if (keys.fired(GLFW_KEY_BACKSPACE, app.window.getKey(GLFW_KEY_BACKSPACE) == GLFW_PRESS)) {
            app.restart();
        }
        // Esc ends the loop after this iteration; closing the window does the same.
        bool escape = keys.fired(platform::GLFW_KEY_ESC, app.window.getKey(platform::GLFW_KEY_ESC) == GLFW_PRESS);
        if (escape || app.window.closeRequested()) {
            running = false;
        }

        app.update();
        app.draw();
        if (firstFrame) {
            reportStartup(start);
            firstFrame = false;
        }

        deltaTime = app.window.getTime();
        app.window.setTime(0.0);
        if (frameRate.addFrame(deltaTime)) {
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

    ConfigFile* config = new ConfigFile("../bin/config.txt", "=", "#", "EndConfigFile");
    readSettings(*config);

    AppMain* app = new AppMain();
    soundMuted = config->getWholeNumber("sound", 1) == 0;
    if (soundMuted) {
        app->music->setMute(true);
    }

    if (app->initWindow()) {
        app->loadShaders();
        app->userInterface->drawStartScreen(app->window);
        app->loadContent();
        startEngines(*app->music);
        app->restart();

        app->window.enable(GLFW_STICKY_KEYS);
        deltaTime = 0.0;
        app->window.setTime(0.0);
        runFrameLoop(*app, start);
    } else {
        std::cerr << app->errorMessage << std::flush;
    }

    delete app;
    delete config;
    return 0;
}
