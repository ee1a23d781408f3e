#pragma once

// The moments of a race, in race seconds, for everything that acts on them:
// the race update, the frame, the camera path's fallback and the route tool
// that writes the scripts.
namespace raceTimeline {

// Light 2 leaves its corner and swings down towards the show pieces, so the
// closing shots have a light of their own...
inline constexpr double lightSwingStart = 122.0;
// ...then drops straight down over them...
inline constexpr double lightDropStart = 124.5;
// ...while the credits come up: the race has been seen by then...
inline constexpr double creditsStart = 125.0;
// ...and from here it turns away and fades until the restart.
inline constexpr double lightFadeStart = 126.0;
// The race ends here, with time to read the credits; the route tool writes
// the camera path to end at it, and a path without a usable end uses it.
inline constexpr double raceEnd = 140.0;

} // namespace raceTimeline
