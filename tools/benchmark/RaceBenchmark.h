#pragma once

#include "BenchmarkOptions.h"

// The whole showcase in a window of the chosen size, as the program loads it
// (run from bin/). At a few fixed times of the race it draws the chosen number
// of frames through the camera path at a 1/60 s step and measures the GPU
// time of each pass and the CPU time of update and of draw. Prints a table
// and writes the JSON file. Throws when the showcase cannot be loaded.
void runRaceBenchmark(const BenchmarkOptions& options);
