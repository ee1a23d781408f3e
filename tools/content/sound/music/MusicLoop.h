#pragma once

#include "sound/Signal.h"

namespace sound {

// The background music: the showcase tune rendered as a stereo loop of
// exactly its 32 bars, whose end runs into its start without a seam.
Signal renderMusicLoop();

} // namespace sound
