#pragma once

#include "app/RandomState.h"
#include "effects/Explosion.h"
#include "effects/Smoke.h"

#include <glm/glm.hpp>

#include <array>
#include <utility>
#include <vector>

class AppMain;

// What a race starts from that its restart does not set: the random draws to
// come, what keeps turning or flying from one race into the next (the show
// pieces, the wheels, the smoke, a burst still in the air) and the music's
// place. Kept as every race starts, so that a seek can start the race again
// from exactly where it started and run it to any moment.
class RaceStart {
public:
    // firstStepSeconds: what the race's first update, which runs at race
    // time 0, moves things by: nothing for a race started from outside the
    // update (the program's start, Backspace), a whole step for one the
    // update started at the end of the race before; musicMilliseconds: where
    // the music stands.
    void capture(const AppMain& app, double firstStepSeconds, unsigned musicMilliseconds);
    void restore(AppMain& app) const;

    double firstStepSeconds() const { return firstStep; }
    unsigned musicMilliseconds() const { return musicMs; }

private:
    struct CarState {
        glm::mat4 spin{1.0f};
        glm::mat4 spinInverse{1.0f};
        float steeringAngle = 0.0f;
        Smoke::State smoke{};
    };

    RandomState random;
    std::vector<std::pair<glm::mat4, glm::mat4>> turningPieces; // model and inverse matrix
    std::array<CarState, 2> cars;
    std::array<Explosion::State, 2> bursts{};
    unsigned musicMs = 0;
    double firstStep = 0.0;
};
