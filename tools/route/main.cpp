// brimbolt_route write [FOLDER] | check [--quick]     (run from bin/)
//
// write: drives both cars along their lanes and writes their movement
//        scripts and the camera path into ../brimbolt/carMovement/ (or FOLDER).
// check: runs the race from those files through the real application at
//        frame steps of 1/144 to 1/5 s without drawing, prints a table of
//        stones taken, closest approach to furniture and time with a car in
//        view, and fails when the race is not worth watching at the steps a
//        showcase must handle (1/144, 1/60 and 1/30 s); --quick checks 1/60 only.
#include "CameraDirector.h"
#include "Course.h"
#include "Driver.h"
#include "RaceCheck.h"

#include "app/AppMain.h"
#include "scene/RoomLayout.h"
#include "settings/Settings.h"
#include "sound/Music.h"
#include "vehicles/Car.h"
#include "vehicles/CarMovement.h"
#include "vehicles/Player.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The race ends here: after the lighting scene (122 to 126 s) and the start
// of the credits at 125 s, with time to read them.
constexpr double raceEnd = 140.0;
// The cars drive past the end, so nothing stops short of it at any step.
constexpr double driveLength = raceEnd + 5.0;
// Steps that divide the cars' decision interval: the plan is made at the finest.
constexpr double planStep = 1.0 / 144.0;

bool writeFile(const std::string& path, const std::string& text)
{
    std::ofstream file(path, std::ios::binary);
    file << text;
    std::printf("%s %s\n", file ? "Wrote" : "Cannot write", path.c_str());
    return bool(file);
}

bool write(AppMain& app, const std::string& folder)
{
    driver::Drive drives[2];
    for (int i = 0; i < 2; ++i) {
        app.restart();
        drives[i] = driver::drive(*app.players[i]->getCar(), course::lane(i), i, driveLength, planStep);
    }
    bool ok = writeFile(folder + "player1.txt", driver::script(drives[0]));
    ok = writeFile(folder + "player2.txt", driver::script(drives[1])) && ok;
    ok = writeFile(folder + "cameraPath.txt", director::cameraPath(drives[0], drives[1], raceEnd, racecheck::keepOuts(app))) && ok;
    return ok;
}

std::string percent(double share)
{
    char text[16];
    std::snprintf(text, sizeof text, "%.0f%%", share * 100.0);
    return text;
}

bool check(AppMain& app, bool quick)
{
    struct Step {
        const char* name;
        double seconds;
        bool mustTakeEveryStone;
    };
    const std::vector<Step> steps = quick ? std::vector<Step>{{"1/60", 1.0 / 60.0, true}}
                                          : std::vector<Step>{{"1/144", 1.0 / 144.0, true}, {"1/60", 1.0 / 60.0, true},
                                                              {"1/30", 1.0 / 30.0, true},   {"1/15", 1.0 / 15.0, false},
                                                              {"1/10", 0.1, false},         {"1/5", 0.2, false}};
    std::printf("| step | stones taken | pick-ups in view | closest approach | car in view |\n");
    std::printf("|---|---|---|---|---|\n");
    bool ok = true;
    std::vector<std::string> allProblems;
    for (const Step& step : steps) {
        racecheck::Report report = racecheck::run(app, step.seconds);
        std::printf("| %s s | %d of 6 | %d | %.2f (%s) | %s |\n", step.name, report.stonesTaken, report.pickUpsInView,
                    report.closestApproach, report.closestArea.c_str(), percent(report.carInViewShare).c_str());
        std::vector<std::string> found = racecheck::problems(report, step.mustTakeEveryStone);
        if (!step.mustTakeEveryStone) {
            // Slow machines see a race that drifts: only report it.
            continue;
        }
        for (const std::string& problem : found) {
            allProblems.push_back(std::string(step.name) + " s: " + problem);
        }
        if (step.seconds == 1.0 / 60.0) {
            std::printf("\nAt 1/60 s:");
            for (const racecheck::PickUp& pickUp : report.pickUps) {
                std::printf(" stone %d by player %d at %.2f s%s;", pickUp.stone, pickUp.player, pickUp.time,
                            pickUp.inView ? "" : " (out of view)");
            }
            std::printf("\n  cars close together %d times; shown:", report.closeEncounters);
            for (const auto& [name, seconds] : report.pieceSeconds) {
                std::printf(" %s %.1f s;", name.c_str(), seconds);
            }
            std::printf("\n\n");
        }
    }
    for (const std::string& problem : allProblems) {
        std::printf("PROBLEM %s\n", problem.c_str());
        ok = false;
    }
    std::printf("%s\n", ok ? "The race is worth watching." : "The race needs work.");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    const bool wantWrite = argc >= 2 && std::strcmp(argv[1], "write") == 0;
    const bool wantCheck = argc >= 2 && std::strcmp(argv[1], "check") == 0;
    const bool quick = argc >= 3 && std::strcmp(argv[2], "--quick") == 0;
    if (!wantWrite && !wantCheck) {
        std::fprintf(stderr, "usage: brimbolt_route write [FOLDER] | check [--quick]   (run from bin/)\n");
        return 2;
    }
    windowWidth = 320;
    windowHeight = 180;
    windowMode = platform::GLFW_WINDOW;
    // The same draws of rand on every run, so the stones turn alike.
    AppMain* app = new AppMain();
    app->music->setMute(true);
    bool ok = app->initWindow();
    if (!ok) {
        std::fprintf(stderr, "brimbolt_route: cannot open a window (no display? try xvfb-run -a)\n");
    } else {
        app->loadShaders();
        app->loadContent();
        const std::string folder = wantWrite && argc >= 3 ? std::string(argv[2]) + "/" : roomLayout::movementFolder;
        ok = wantWrite ? write(*app, folder) : check(*app, quick);
    }
    delete app;
    return ok ? 0 : 1;
}
