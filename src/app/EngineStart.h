#pragma once

class Music;

// The race's sound as the show starts it: the music turned down under the
// engines and every player's engine running from now on, whether or not a
// race is under way.
void startEngines(Music& music);
