#pragma once

#include <optional>
#include <string>

// What a soak run was asked for on its command line.
struct SoakOptions {
    int races = 10;
    double step = 1.0 / 30.0; // race seconds per frame; the race clock steps inside it
    int width = 320;
    int height = 180;
    int drawEvery = 0;        // one frame drawn in this many; 0: about one a race second
    std::string jsonPath;     // empty: no JSON
    // How far the last race's median frame time may rise over the first's.
    // Runs on a machine busy with other work (the test suite) pass more.
    double frameTimeMarginPercent = 10.0;
    unsigned seed = 1;        // the random draws of stones and particles

    // Reads argv. Returns the status to exit with now (after --help or a
    // mistake); nothing when the soak runs.
    std::optional<int> parse(int argc, char** argv);
    // drawEvery as given, or the frames of one race second.
    int framesPerDrawnFrame() const;
};
