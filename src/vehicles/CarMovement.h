#pragma once

#include "vehicles/Controls.h"

#include <string>
#include <utility>
#include <vector>

// One car's script: which controls are held from which race time on, read
// from a movement file with one "time;flags" line per event, in ascending
// time. The race update asks it once a frame for the flags in force and
// applies them to the car.
//
// The script is only read forwards: a query earlier than the last one still
// answers with the last one's flags. A restart builds a new object instead
// of rewinding.
class CarMovement {
public:
    // Reads the file at path. A file that cannot be opened, or holds no
    // event, gives the one event (0, 0): the car never receives a control.
    // Times are read with atof and flags with atoi, so malformed numbers read
    // as 0, silently; a time of "nan" counts as malformed.
    explicit CarMovement(const std::string& path);
    virtual ~CarMovement() = default;

    // The flags of the last event whose time is strictly before raceTime (0
    // before the first). When one call passes several events, only the last
    // one's flags take effect.
    Controls flagsAt(float raceTime);

    int eventCount() const { return static_cast<int>(events.size()); }

private:
    void advance();

    std::vector<std::pair<float, Controls>> events; // (time, flags) in file order
    int nextEvent = 0;                         // first event not yet applied
    float nextEventTime = 0.0f;                // its time, or the largest float when none is left
    Controls currentFlags;
};
