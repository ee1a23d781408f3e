#pragma once

#include <cmath>

namespace sound {

// Equal temperament, A4 (MIDI note 69) at 440 Hz.
inline double midiToHz(double midiNote)
{
    return 440.0 * std::pow(2.0, (midiNote - 69.0) / 12.0);
}

} // namespace sound
