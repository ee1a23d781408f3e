#pragma once

#include "sound/Signal.h"

namespace sound {

float peakLevel(const Signal& signal);

// Scales so the largest sample sits at `peakDb` dBFS.
void normalizePeak(Signal& signal, double peakDb);

// Scales so the loudest 50 ms stretch has `rmsDb` dBFS of RMS, but never lets
// the peak pass `ceilingDb`: short effects of different shapes then sound
// about equally loud.
void normalizeLoudness(Signal& signal, double rmsDb, double ceilingDb);

// Raised-cosine ramps, so a one-shot starts and ends on silence.
void fadeIn(Signal& signal, double seconds);
void fadeOut(Signal& signal, double seconds);

} // namespace sound
