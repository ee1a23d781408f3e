#pragma once

#include "common/Random.h"
#include "sound/music/StereoLoop.h"

namespace sound {

// Synthesised drum voices. Each adds one hit to `bus`; the noise source is
// shared so the hits, played in score order, are the same on every run.
void playKick(StereoLoop& bus, double startSeconds, float velocity);
void playSnare(StereoLoop& bus, Random& noise, double startSeconds, float velocity);
void playHiHat(StereoLoop& bus, Random& noise, double startSeconds, float velocity, bool open);
void playCrash(StereoLoop& bus, Random& noise, double startSeconds, float velocity);

} // namespace sound
