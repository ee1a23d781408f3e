#pragma once

#include "Course.h"

#include "scene/CameraKey.h"

#include <map>
#include <string>
#include <vector>

class AppMain;

// One whole race run through the real application without drawing, with
// frames coming at a fixed rate or at irregular times, as a machine of that
// speed would draw them: what the cars did, step by step on the race clock,
// and what the camera path showed in the frames.
namespace racecheck {

// How the frames come: every `seconds`, or, when `seed` is set, at seeded
// random times between 1 ms and 1 s.
struct FrameRate {
    std::string name;
    double seconds = 0.0;
    unsigned seed = 0;
};

struct PickUp {
    double time;
    int stone;  // 1 to 6
    int player; // 1 or 2
    bool inView;
};

struct Report {
    FrameRate frames;
    int framesDrawn = 0;
    double endTime = 0.0;
    std::vector<PickUp> pickUps;
    int stonesTaken = 0;
    int pickUpsInView = 0;
    // Closest any car came to furniture, a show piece or a wall (negative: inside).
    float closestApproach = 1e9f;
    std::string closestArea;
    double carInViewShare = 0.0;           // of the race time, over the drawn frames
    std::map<std::string, double> pieceSeconds; // show piece → seconds in view
    std::vector<std::string> cameraProblems;    // where the camera left the room or entered furniture
    std::vector<CameraMethod> methodsUsed;
    int closeEncounters = 0;  // times the cars came together
    bool restarted = false;   // the race started over after its end
};

// Everything a car and the camera must keep out of: the furniture of the
// room (from the content generator's layout) and the show pieces where the
// application placed them.
std::vector<course::KeepOut> keepOuts(const AppMain& app);

// Restarts the race with the same random draws every time and runs it to its end.
Report run(AppMain& app, const FrameRate& frames);

// The requirements the race must meet; empty when it meets them all.
std::vector<std::string> problems(const Report& report, bool mustTakeEveryStone);

} // namespace racecheck
