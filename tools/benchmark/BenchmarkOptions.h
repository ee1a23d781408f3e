#pragma once

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
};

// Reads the option at argv[index] and its value into options and moves index
// past them; false when argv[index] is not one of these options. Throws
// std::invalid_argument, naming the option, when its value is malformed.
bool readBenchmarkOption(int argc, char** argv, int& index, BenchmarkOptions& options);

// The options a race run of another binary needs to draw the same frames,
// writing its results to jsonPath.
std::vector<std::string> raceArguments(const BenchmarkOptions& options, const std::string& jsonPath);
