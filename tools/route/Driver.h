#pragma once

#include "Course.h"

#include "vehicles/Controls.h"

#include <glm/glm.hpp>

#include <vector>

class Car;

// Drives a real car along its lane the way a careful driver with a coarse
// hand would: it looks at the lane a little ahead (or straight at the next
// stone) and chooses accelerate, coast or brake and left, straight or right
// once every sixth of a second. Those choices become the car's movement
// script.
//
// Why a sixth of a second: the script's events then fall on instants that are
// whole numbers of frames at 144, 60 and 30 frames a second, and the car's
// speed stays below the top speed, where its speed changes by the same
// amount per second whatever the frame step. So the car drives the same
// course at any of those frame rates, and only slower ones drift.
namespace driver {

constexpr double decisionInterval = 1.0 / 6.0;
// The script's instants sit this far after each decision, so that float
// rounding of the race clock never moves an event to the frame before.
constexpr double eventDelay = 0.001;

struct Decision {
    int index; // decision interval number: starts at index × decisionInterval
    Controls controls;
};

struct Sample {
    double time;
    glm::vec3 position;
    glm::vec2 forward; // floor direction the car faces
    float speed;
    glm::vec3 chaseEye; // where the car's chase camera stands
};

struct Drive {
    std::vector<Decision> decisions; // only where the flags change
    std::vector<Sample> samples;     // one per decision interval
};

// Drives the car (reset and placed on its start already) for `seconds` at
// frame step `step`, which must divide decisionInterval.
Drive drive(Car& car, const course::Lane& lane, int player, double seconds, double step);

// The movement script text of a drive: "time;flags" lines.
std::string script(const Drive& drive);

} // namespace driver
