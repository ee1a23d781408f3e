#pragma once

// Turns drawn frames into race steps. The race advances in fixed steps of
// `step` seconds whatever the drawing does: a frame runs as many steps as its
// duration holds and carries the rest over to the next frame, so the race is
// the same at 4 frames a second as at 400. A step of 0 runs one update per
// frame with the frame's own duration instead (the race then follows the
// frame rate).
class RaceClock {
public:
    // The default step divides the route's decision interval (a sixth of a
    // second), so every scripted event falls exactly on a step.
    static constexpr double defaultStep = 1.0 / 240.0;
    // A stalled machine sees the race slow down rather than jump, and never
    // freezes catching up: no frame runs more than this much race.
    static constexpr double longestFrame = 1.0;

    struct Frame {
        int steps = 0;
        double stepSeconds = 0.0; // deltaTime of each of those steps
        double raceSeconds = 0.0; // race time the frame covers: steps × stepSeconds
    };

    explicit RaceClock(double step = defaultStep);

    // The steps a drawn frame of frameSeconds runs; the remainder carries.
    Frame frame(double frameSeconds);
    // Forgets the carried remainder, so a fresh race takes its steps at the
    // same frame boundaries however the one before it ended.
    void dropCarry() { carried = 0.0; }
    double step() const { return stepSeconds; }
    // The step a seek runs the race again in: the fixed step, or the default
    // one where the race follows the frame rate.
    double seekStep() const { return stepSeconds > 0.0 ? stepSeconds : defaultStep; }

private:
    double stepSeconds;
    double carried = 0.0;
};
