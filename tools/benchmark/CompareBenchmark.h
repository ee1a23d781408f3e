#pragma once

#include "BenchmarkOptions.h"

#include <string>

// Judges a change on a noisy machine: runs the race of two benchmark binaries
// (two builds) as child processes, interleaved A B, B A, A B... for the given
// rounds, so that a slow spell of the machine falls on both, and prints for
// each quantity the ratio B/A of the medians per round and overall. Children
// inherit the working directory (bin/) and the display.
void runComparison(const std::string& binaryA, const std::string& binaryB, const BenchmarkOptions& options);
