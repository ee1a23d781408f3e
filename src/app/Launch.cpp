#include "app/Launch.h"

#include "app/EngineStart.h"
#include "app/ProgramSettings.h"
#include "effects/UserInterface.h"
#include "settings/Settings.h"
#include "sound/Music.h"

#include <epoxy/gl.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

namespace {

// A renderer on the processor draws the designed picture a few times a
// second; the viewer is told once that a cheaper one exists.
void adviseOnSoftwareRenderer(const RenderQuality& quality)
{
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    if (quality.isFast() || !renderer) {
        return;
    }
    const std::string name = renderer;
    for (const char* software : {"llvmpipe", "softpipe", "SwiftShader", "Software Rasterizer"}) {
        if (name.find(software) != std::string::npos) {
            std::printf("Drawing on a software renderer (%s): quality = fast in bin/config.txt draws about four "
                        "times as many frames a second.\n",
                        renderer);
            return;
        }
    }
}

void reportNoWindow(const AppMain& app, const LaunchOptions& options)
{
    if (!options.toolName) {
        std::cerr << app.errorMessage << std::flush;
        return;
    }
    std::fprintf(stderr, "%s: cannot open a %dx%d window (no display? try xvfb-run -a)\n", options.toolName,
                 options.width, options.height);
}

} // namespace

std::unique_ptr<AppMain> launch(const LaunchOptions& options)
{
    windowWidth = options.width;
    windowHeight = options.height;
    windowMode = options.windowMode;
    auto app = std::make_unique<AppMain>(options.soundOutput);
    // After the application's own seeding from the clock.
    if (options.seed) {
        app->randomSeed = *options.seed;
        std::srand(app->randomSeed);
    }
    app->raceClock = RaceClock(options.raceStep ? *options.raceStep : programSettings::configuredRaceStep());
    app->quality = RenderQuality::of(options.quality ? *options.quality : programSettings::configuredQuality());
    if (options.muted) {
        soundMuted = true;
        app->music->setMute(true);
    }
    // GLFW keeps window hints until the window opens, so this one stands
    // beside those initWindow sets.
    if (options.debugContext && app->window.init()) {
        app->window.openWindowHint(GLFW_OPENGL_DEBUG_CONTEXT, GLFW_TRUE);
    }
    if (!app->initWindow()) {
        reportNoWindow(*app, options);
        return nullptr;
    }
    if (options.afterWindowOpens) {
        options.afterWindowOpens(*app);
    }
    if (app->quality.isFast()) {
        std::printf("Quality: fast (scene drawn at %.0f%% of the window, shadow maps %d, cube faces %d, %s)\n",
                    app->quality.sceneScale * 100.0f, app->quality.shadowMapSize, app->quality.environmentFaceSize,
                    app->quality.motionBlur ? "motion blur" : "no motion blur");
    }
    if (!options.toolName) {
        adviseOnSoftwareRenderer(app->quality);
    }
    app->loadShaders();
    if (options.showStartScreen) {
        app->userInterface->drawStartScreen(app->window);
        if (options.whileStartScreenShows) {
            options.whileStartScreenShows(*app);
        }
    }
    app->loadContent();
    startEngines(*app->music);
    // The program restarts once more after loading, as loading's own restart
    // happened before the engines ran.
    app->restart();
    return app;
}
