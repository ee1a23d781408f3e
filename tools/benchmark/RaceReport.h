#pragma once

#include <string>
#include <utility>
#include <vector>

// Mean and median of one measured quantity over all frames of a run.
struct Statistic {
    std::string name;
    double mean = 0.0;
    double median = 0.0;
};

// What a race run measured, as printed and as written to its JSON file.
struct RaceReport {
    std::string renderer; // GL_RENDERER of the machine
    std::string quality;  // "full" or "fast"
    int width = 0;
    int height = 0;
    int frames = 0; // at each race time
    int frameRate = 0;  // drawn frames a second
    int raceSteps = 0;  // race steps in each drawn frame
    std::vector<double> raceTimes;
    int gpuFrames = 0;  // frames whose pass times arrived
    int lostFrames = 0; // frames whose pass times were given up
    std::vector<Statistic> gpu; // each pass, then the whole frame
    Statistic update; // processor time of a drawn frame's race steps
    Statistic draw;
};

Statistic summarise(std::string name, std::vector<double> samples);
double median(std::vector<double> values);

void printReport(const RaceReport& report);
// Throws std::runtime_error naming the file when it cannot be written.
void writeReport(const RaceReport& report, const std::string& path);
// Each quantity's median, in the order of the file; reads only files written
// by writeReport. Throws std::runtime_error naming the file when it holds none.
std::vector<std::pair<std::string, double>> readMedians(const std::string& path);
