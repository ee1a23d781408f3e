#pragma once

#include "BenchmarkOptions.h"

// How long a viewer waits for a seek: the whole showcase loaded as the
// program loads it (run from bin/), then seeks to the start, the middle and
// the end of the race, each several times, timed on the wall clock. The
// longest is the seek to the end, which runs the whole race again.
void runSeekBenchmark(const BenchmarkOptions& options);
