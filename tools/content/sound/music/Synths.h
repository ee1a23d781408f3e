#pragma once

#include "sound/music/StereoLoop.h"

namespace sound {

// Pitched voices. `gateSeconds` is how long the key is held; each voice
// adds its own release after that.
void playBass(StereoLoop& bus, double startSeconds, double gateSeconds, int midiNote, float velocity);
void playPad(StereoLoop& bus, double startSeconds, double gateSeconds, int midiNote, float velocity);
void playLead(StereoLoop& bus, double startSeconds, double gateSeconds, int midiNote, float velocity);

} // namespace sound
