#pragma once

#include "Course.h"

#include <map>
#include <string>
#include <vector>

class AppMain;

// One whole race run through the real application at a fixed frame step,
// without drawing: what the cars did and what the camera path showed.
namespace racecheck {

struct PickUp {
    double time;
    int stone;  // 1 to 6
    int player; // 1 or 2
    bool inView;
};

struct Report {
    double step = 0.0;
    double endTime = 0.0;
    std::vector<PickUp> pickUps;
    int stonesTaken = 0;
    int pickUpsInView = 0;
    // Closest any car came to furniture, a show piece or a wall (negative: inside).
    float closestApproach = 1e9f;
    std::string closestArea;
    double carInViewShare = 0.0;           // of the race time
    std::map<std::string, double> pieceSeconds; // show piece → seconds in view
    std::vector<std::string> cameraProblems;    // where the camera left the room or entered furniture
    std::vector<int> methodsUsed;
    int closeEncounters = 0;  // times the cars came together
    bool restarted = false;   // the race started over after its end
    double fullSpeedPitchRatio = 0.0; // unused here; filled by sound checks elsewhere
};

// Everything a car and the camera must keep out of: the furniture of the
// room (from the content generator's layout) and the show pieces where the
// application placed them.
std::vector<course::KeepOut> keepOuts(const AppMain& app);

Report run(AppMain& app, double step);

// The requirements the race must meet; empty when it meets them all.
std::vector<std::string> problems(const Report& report, bool mustTakeEveryStone);

} // namespace racecheck
