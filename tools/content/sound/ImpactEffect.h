#pragma once

#include "sound/Signal.h"

namespace sound {

// A short dull thud: a falling low tone with a muffled knock on top, 0.45 s.
Signal renderHit();

} // namespace sound
