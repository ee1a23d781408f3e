#pragma once

#include "render/RenderQuality.h"

#include <optional>
#include <string>
#include <vector>

// The command-line values of the race benchmark. A comparison hands the same
// values to every run it starts, so that both builds draw the same frames.
struct BenchmarkOptions {
    int width = 1280;
    int height = 720;
    int frames = 20; // drawn and measured at each race time
    // Drawn frames a second: each frame runs the race for 1/frameRate s on
    // the race clock, so a low rate measures the update of many steps.
    int frameRate = 60;
    std::string jsonPath = "bench.json";
    int rounds = 3; // of a comparison: runs of each build, interleaved
    // Drawn at; none: the configuration file's quality.
    std::optional<RenderQuality::Level> quality;
};

class CommandLine;

// Declares the options above on the command line, to be read into options.
void addBenchmarkOptions(CommandLine& commandLine, BenchmarkOptions& options);

// The options a race run of another binary needs to draw the same frames,
// writing its results to jsonPath.
std::vector<std::string> raceArguments(const BenchmarkOptions& options, const std::string& jsonPath);
