#pragma once

#include "app/AppMain.h"
#include "settings/WindowModes.h"

#include <functional>
#include <memory>
#include <optional>

// How the showcase is started: by the program from its configuration, by the
// tools and tests with their own choices.
struct LaunchOptions {
    int width = 1280;
    int height = 720;
    int windowMode = platform::GLFW_WINDOW;
    AppMain::SoundOutput soundOutput = AppMain::SoundOutput::Device;
    // The stones' headings and the particles draw from rand; a seed makes
    // every run draw the same. None: seeded from the calendar time.
    std::optional<unsigned> seed;
    // Seconds of race per update; none: the configuration file's "raceStep".
    std::optional<double> raceStep;
    // What the picture may cost; none: the configuration file's "quality".
    std::optional<RenderQuality::Level> quality;
    // A context whose driver reports every failing call.
    bool debugContext = false;
    // Runs as soon as the window and its context exist (a tool installs its
    // GL error watch there, before anything is loaded).
    std::function<void(AppMain&)> afterWindowOpens;
    bool muted = false;
    // The start picture stands in the window while the content loads; this
    // runs while it does (a test reads it).
    bool showStartScreen = false;
    std::function<void(AppMain&)> whileStartScreenShows;
    // Names the tool in the message printed when no window opens; without it
    // the application's own message is printed, as the program does.
    const char* toolName = nullptr;

    // The showcase as a tool that only looks at it starts it: in a window of
    // its own size, silent, with the same random draws on every run.
    static LaunchOptions quietTool(const char* name, int width, int height)
    {
        LaunchOptions options;
        options.width = width;
        options.height = height;
        options.seed = 1;
        options.muted = true;
        options.toolName = name;
        return options;
    }
};

// The whole start-up in its order: the application, the window, the shader
// programs, the start picture, the content, the engines and a second restart.
// Returns the showcase ready for its first frame, or null after printing why
// the window did not open.
std::unique_ptr<AppMain> launch(const LaunchOptions& options);
