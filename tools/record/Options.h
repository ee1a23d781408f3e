#pragma once

#include <optional>
#include "render/RenderQuality.h"

#include <optional>
#include <string>
#include <vector>

// What a recording run was asked for on its command line.
struct Options {
    int width = 1280;
    int height = 720;
    double step = 1.0 / 30.0;   // race seconds per frame
    double length = 0.0;        // seconds to record; 0: the whole race up to its restart
    std::string output = "brimbolt.mp4";
    std::vector<double> stills; // race times of PNG stills (--at); empty: record a video
    std::string stillFolder = "."; // where stills go
    bool drawEveryStep = false; // stills drawn after every step, as a recording draws them
    unsigned seed = 1;          // the random draws of stones and particles
    std::optional<RenderQuality::Level> quality; // none: the configuration file's

    // Reads argv. Returns the status to exit with now (after --help or a
    // mistake); nothing when the recording runs.
    std::optional<int> parse(int argc, char** argv);
};
