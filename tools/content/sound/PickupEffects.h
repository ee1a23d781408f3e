#pragma once

#include "sound/Signal.h"

namespace sound {

// The stone pick-up heard in the race: a bright rising bell arpeggio, 0.6 s.
Signal renderPickupChime();

// Spare pick-up sounds kept in the bank beside it.
Signal renderArcadeRise();   // a square-wave glide stepping up, 0.8 s
Signal renderSparkleRun();   // a quick pentatonic run of glassy blips, 0.75 s
Signal renderEnergyCharge(); // a noise whoosh and a tone winding up, 1.0 s

} // namespace sound
