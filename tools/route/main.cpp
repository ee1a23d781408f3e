// brimbolt_route write [FOLDER] | check [--quick]     (run from bin/)
//
// write: drives both cars along their lanes and writes their movement
//        scripts and the camera path into ../brimbolt/carMovement/ (or FOLDER).
// check: runs the race from those files through the real application on its
//        race clock, without drawing, with frames coming at 500 to 2 frames a
//        second and at irregular times, prints a table of stones taken,
//        closest approach to furniture and time with a car in view, and fails
//        when the race is not worth watching at any of them; --quick checks
//        60 frames a second only.
#include "CameraDirector.h"
#include "CommandLine.h"
#include "Course.h"
#include "Driver.h"
#include "RaceCheck.h"

#include "app/AppMain.h"
#include "app/Launch.h"
#include "app/RaceClock.h"
#include "scene/RaceTimeline.h"
#include "scene/RoomLayout.h"
#include "vehicles/Car.h"
#include "vehicles/CarMovement.h"
#include "vehicles/Player.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double raceEnd = raceTimeline::raceEnd;
// The cars drive past the end, so nothing stops short of it at any step.
constexpr double driveLength = raceEnd + 5.0;
// The cars are planned on the race clock's own step, which divides their
// decision interval, so the race runs as planned at any frame rate.
constexpr double planStep = RaceClock::defaultStep;

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

bool samePickUps(const std::vector<racecheck::PickUp>& a, const std::vector<racecheck::PickUp>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const racecheck::PickUp& x, const racecheck::PickUp& y) {
        return x.time == y.time && x.stone == y.stone && x.player == y.player;
    });
}

bool check(AppMain& app, bool quick)
{
    using racecheck::FrameRate;
    const std::vector<FrameRate> rates =
        quick ? std::vector<FrameRate>{{"60", 1.0 / 60.0}}
              : std::vector<FrameRate>{{"500", 1.0 / 500.0}, {"144", 1.0 / 144.0}, {"60", 1.0 / 60.0},
                                       {"30", 1.0 / 30.0},   {"15", 1.0 / 15.0},   {"5", 1.0 / 5.0},
                                       {"2", 1.0 / 2.0},     {"irregular (seed 1)", 0.0, 1},
                                       {"irregular (seed 2)", 0.0, 2}};
    // Without a race step the race follows the frame rate: only rates of 30
    // and more must give the race as authored.
    const bool fixedStep = app.raceClock.step() > 0.0;
    if (fixedStep) {
        std::printf("Race step 1/%.0f s.\n\n", 1.0 / app.raceClock.step());
    } else {
        std::printf("Race step 0: one update per frame.\n\n");
    }
    std::printf("| frames a second | stones taken | pick-ups in view | closest approach | car in view |\n");
    std::printf("|---|---|---|---|---|\n");
    std::vector<std::string> allProblems;
    // The first required row's details are printed under the table.
    bool detailsShown = false;
    racecheck::Report details;
    for (const FrameRate& rate : rates) {
        racecheck::Report report = racecheck::run(app, rate);
        std::printf("| %s | %d of 6 | %d | %.2f (%s) | %s |\n", rate.name.c_str(), report.stonesTaken,
                    report.pickUpsInView, report.closestApproach, report.closestArea.c_str(),
                    percent(report.carInViewShare).c_str());
        const bool required = fixedStep || (rate.seed == 0 && rate.seconds <= 1.0 / 30.0 + 1e-9);
        if (!required) {
            continue; // slow machines see a race that drifts: only report it
        }
        for (const std::string& problem : racecheck::problems(report, true)) {
            allProblems.push_back(rate.name + " frames a second: " + problem);
        }
        // On the race clock every frame rate runs the same race.
        if (fixedStep && detailsShown && !samePickUps(report.pickUps, details.pickUps)) {
            allProblems.push_back(rate.name + " frames a second: the stones are taken at other times");
        }
        if (!detailsShown) {
            detailsShown = true;
            details = report;
        }
    }
    std::printf("\nAt %s frames a second:\n", details.frames.name.c_str());
    for (const racecheck::PickUp& pickUp : details.pickUps) {
        std::printf("  stone %d by player %d at %.3f s%s\n", pickUp.stone, pickUp.player, pickUp.time,
                    pickUp.inView ? "" : " (out of view)");
    }
    std::printf("  cars close together %d times; shown:", details.closeEncounters);
    for (const auto& [name, seconds] : details.pieceSeconds) {
        std::printf(" %s %.1f s;", name.c_str(), seconds);
    }
    std::printf("\n");
    for (const std::string& problem : allProblems) {
        std::printf("PROBLEM %s\n", problem.c_str());
    }
    const bool ok = allProblems.empty();
    std::printf("%s\n", ok ? "The race is worth watching." : "The race needs work.");
    return ok;
}

constexpr const char* usage =
    "usage: brimbolt_route write [FOLDER] | check [--quick]   (run from bin/)\n"
    "write: drives both cars along their lanes and writes their movement scripts and the\n"
    "       camera path into ../brimbolt/carMovement/ (or FOLDER).\n"
    "check: runs the race from those files through the real application on its race clock,\n"
    "       without drawing, with frames coming at 500 to 2 frames a second and at irregular\n"
    "       times, prints a table of stones taken, closest approach to furniture and time\n"
    "       with a car in view, and fails when the race is not worth watching at any of them;\n"
    "       --quick checks 60 frames a second only.\n";

// What the command line asks for.
struct Request {
    bool write = false;
    std::string folder = roomLayout::movementFolder; // where write puts the files
    bool quick = false;
};

// The status to exit with now (after --help or a mistake), or nothing when
// the request is to run.
std::optional<int> readCommandLine(int argc, char** argv, Request& request)
{
    CommandLine commandLine("brimbolt_route", usage);
    commandLine.command("write", {}, {"FOLDER"});
    commandLine.command("check");
    commandLine.flag("--quick", [&request] { request.quick = true; });
    if (const std::optional<int> status = commandLine.parse(argc, argv)) {
        return status;
    }
    request.write = commandLine.chosenCommand() == "write";
    if (!commandLine.positionals().empty()) {
        request.folder = commandLine.positionals()[0] + "/";
    }
    if (request.quick && request.write) {
        return commandLine.refuse("--quick goes with check only");
    }
    return std::nullopt;
}

} // namespace

int main(int argc, char** argv)
{
    Request request;
    if (const std::optional<int> status = readCommandLine(argc, argv, request)) {
        return *status;
    }
    std::unique_ptr<AppMain> app = launch(LaunchOptions::quietTool("brimbolt_route", 320, 180));
    if (!app) {
        return 1;
    }
    app->announcePickUps = false; // the table tells them
    const bool ok = request.write ? write(*app, request.folder) : check(*app, request.quick);
    return ok ? 0 : 1;
}
