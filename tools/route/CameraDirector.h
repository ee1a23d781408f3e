#pragma once

#include "Course.h"
#include "Driver.h"

#include <string>
#include <vector>

// Writes the camera path of a race from the two cars' drives: stretches that
// ride a car's chase camera, trail a car along its track, sweep past it with
// the camera turned towards it, or watch it pass a show piece.
namespace director {

// The camera path text ("key=value" lines), ending the race at raceEnd. A
// flying camera that would stand in one of the keep-out areas rises over it.
std::string cameraPath(const driver::Drive& player1, const driver::Drive& player2, double raceEnd,
                       const std::vector<course::KeepOut>& keepOuts);

} // namespace director
