#include "RaceCheck.h"

#include "app/AppMain.h"
#include "assets/Mesh.h"
#include "common/Layout.h"
#include "render/Geometry.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "scene/Camera.h"
#include "scene/CameraPath.h"
#include "scene/Footprints.h"
#include "scene/RoomLayout.h"
#include "scene/ViewFrustum.h"
#include "vehicles/Car.h"
#include "vehicles/EnergyStone.h"
#include "vehicles/Player.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

namespace racecheck {

namespace {

// Heights of the furniture tops above the floor, generous: a camera below
// them inside their area would be inside the piece.
course::KeepOut area(const char* name, const layout::Area& area, float height)
{
    course::KeepOut keepOut;
    keepOut.name = name;
    keepOut.lower = area.lower;
    keepOut.upper = area.upper;
    keepOut.height = height;
    return keepOut;
}

// A turning or odd-shaped piece as the circle its footprint sweeps.
course::KeepOut piece(const char* name, const Geometry& geometry, float height)
{
    course::KeepOut keepOut;
    keepOut.name = name;
    const glm::vec3 centre = geometry.mesh->boundingSphere.worldCentre;
    keepOut.lower = {centre.x, centre.z};
    for (const glm::vec4& corner : geometry.mesh->boundingBox.footprint) {
        keepOut.radius = std::max(keepOut.radius, glm::distance(glm::vec2(corner.x, corner.z), keepOut.lower));
    }
    keepOut.height = height;
    return keepOut;
}

float footprintClearance(const Footprint& footprint, const course::KeepOut& area)
{
    float closest = 1e9f;
    for (int i = 0; i < 4; ++i) {
        glm::vec2 a(footprint[i].x, footprint[i].z);
        glm::vec2 b(footprint[(i + 1) % 4].x, footprint[(i + 1) % 4].z);
        for (float t : {0.0f, 0.25f, 0.5f, 0.75f}) {
            closest = std::min(closest, course::clearance(area, a + t * (b - a)));
        }
    }
    return closest;
}

float wallClearance(const Footprint& footprint)
{
    float closest = 1e9f;
    for (const glm::vec4& corner : footprint) {
        closest = std::min({closest, corner.x - course::roomLower.x, course::roomUpper.x - corner.x,
                            corner.z - course::roomLower.y, course::roomUpper.y - corner.z});
    }
    return closest;
}

// Two cars nearer than this are racing side by side or nose to tail.
constexpr float closeDistance = 8.0f;

} // namespace

std::vector<course::KeepOut> keepOuts(const AppMain& app)
{
    return {
        area("sofa", layout::sofa, 10.0f),
        area("table and chairs", layout::tableAndChairs, 12.0f),
        area("bookshelf", layout::bookshelf, 40.0f),
        area("floor lamp", layout::lamp, 30.0f),
        area("stone wall", {{layout::stoneWallLower.x, layout::stoneWallLower.z},
                            {layout::stoneWallUpper.x, layout::stoneWallUpper.z}},
             layout::stoneWallUpper.y - layout::floorTop),
        piece("pig", *app.reflectiveObject, 4.0f),
        piece("torus", *app.parallaxObjects[1], 6.0f),
        piece("aeroplane", *app.sceneGeometries[0], 5.0f),
        piece("relief armadillo's pedestal", *app.sceneGeometries[2], 7.0f),
        piece("armadillo's pedestal", *app.sceneGeometries[3], 7.0f),
    };
}

// The frame times a machine of the given speed draws at. Irregular times
// spread evenly over the logarithm, so slow and fast frames both come often;
// the generator is written out so that every machine draws the same times.
class FrameTimes {
public:
    explicit FrameTimes(const FrameRate& frames) : frames(frames), state(frames.seed) {}

    double next()
    {
        if (frames.seed == 0) {
            return frames.seconds;
        }
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const double unit = static_cast<double>(state >> 11) / 9007199254740992.0;
        return 0.001 * std::pow(1000.0, unit);
    }

private:
    const FrameRate& frames;
    std::uint64_t state;
};

Report run(AppMain& app, const FrameRate& frames)
{
    Report report;
    report.frames = frames;
    // The stones' headings are drawn at the restart: every run draws the same.
    std::srand(1);
    app.restart();
    report.endTime = app.cameraPath->endTime;
    for (const CameraKey& key : app.cameraPath->keys) {
        report.methodsUsed.push_back(key.method);
    }
    std::sort(report.methodsUsed.begin(), report.methodsUsed.end());
    report.methodsUsed.erase(std::unique(report.methodsUsed.begin(), report.methodsUsed.end()),
                             report.methodsUsed.end());

    const std::vector<course::KeepOut> areas = keepOuts(app);
    struct Piece {
        const char* name;
        const Geometry* geometry;
    };
    const Piece pieces[] = {{"pig", app.reflectiveObject},
                            {"stone wall", app.parallaxObjects[0]},
                            {"torus", app.parallaxObjects[1]},
                            {"aeroplane", app.sceneGeometries[0]},
                            {"armadillos", app.parallaxObjects[2]}};
    for (const Piece& p : pieces) {
        report.pieceSeconds[p.name] = 0.0;
    }

    // What the cars do, after every race step.
    bool wereClose = false;
    std::array<bool, 6> taken{};
    double lastTime = app.raceTime;
    auto afterStep = [&](double) {
        if (report.restarted) {
            return;
        }
        const double time = app.raceTime;
        if (time < lastTime) {
            report.restarted = true;
            return;
        }
        lastTime = time;
        const ViewFrustum& view = *app.cameraPath->cameraAt(static_cast<float>(time)).camera->frustum;
        for (std::size_t i = 0; i < 6; ++i) {
            const EnergyStone& stone = *app.energyStones[i];
            if (taken[i] || !stone.collected) {
                continue;
            }
            taken[i] = true;
            int player = 0;
            for (int p = 0; p < 2; ++p) {
                if (footprintsOverlap(stone.boundingBox.footprint,
                                      app.players[p]->getCar()->mesh->boundingBox.footprint)) {
                    player = p + 1;
                }
            }
            const bool seen = view.isSphereVisible(stone.boundingSphere);
            report.pickUps.push_back({time, int(i) + 1, player, seen});
            ++report.stonesTaken;
            report.pickUpsInView += seen ? 1 : 0;
        }
        for (Player* player : app.players) {
            const Footprint& footprint = player->getCar()->mesh->boundingBox.footprint;
            for (const course::KeepOut& keepOut : areas) {
                float clearance = footprintClearance(footprint, keepOut);
                if (clearance < report.closestApproach) {
                    report.closestApproach = clearance;
                    report.closestArea = keepOut.name;
                }
            }
            float walls = wallClearance(footprint);
            if (walls < report.closestApproach) {
                report.closestApproach = walls;
                report.closestArea = "a wall";
            }
        }
        const glm::vec3 a((*app.players[0]->getCar()->modelMatrix)[3]);
        const glm::vec3 b((*app.players[1]->getCar()->modelMatrix)[3]);
        const bool close = glm::distance(a, b) < closeDistance;
        report.closeEncounters += close && !wereClose ? 1 : 0;
        wereClose = close;
    };

    // What the viewer sees, in every drawn frame, for the race time it covers.
    FrameTimes frameTimes(frames);
    double carInView = 0.0;
    std::set<std::string> reported;
    while (!report.restarted && app.raceTime <= 1000.0) { // past 1000 s: a path that never ends
        app.advance(frameTimes.next(), afterStep);
        if (report.restarted) {
            break;
        }
        ++report.framesDrawn;
        const double time = app.raceTime;
        const double covered = app.frameRaceSeconds;
        Camera* camera = app.cameraPath->cameraAt(static_cast<float>(time)).camera;
        const ViewFrustum& view = *camera->frustum;

        bool anyCar = false;
        for (Player* player : app.players) {
            anyCar = anyCar || view.isSphereVisible(player->getCar()->mesh->boundingSphere);
        }
        carInView += anyCar ? covered : 0.0;
        for (const Piece& p : pieces) {
            if (view.isSphereVisible(p.geometry->mesh->boundingSphere)) {
                report.pieceSeconds[p.name] += covered;
            }
        }

        // The path's own camera must stay in the room, above the floor and
        // out of the furniture; the chase cameras ride with the cars.
        const glm::vec3 eye((*camera->modelMatrix)[3]);
        std::string problem;
        if (eye.x < course::roomLower.x || eye.x > course::roomUpper.x || eye.z < course::roomLower.y ||
            eye.z > course::roomUpper.y || eye.y < roomLayout::floorTop + 0.5f || eye.y > 50.0f) {
            problem = "outside the room";
        }
        for (const course::KeepOut& keepOut : areas) {
            if (course::clearance(keepOut, {eye.x, eye.z}) < 0.0f && eye.y - roomLayout::floorTop < keepOut.height) {
                problem = "inside the " + keepOut.name;
            }
        }
        if (!problem.empty() && reported.insert(problem).second) {
            char line[160];
            std::snprintf(line, sizeof line, "camera %s at %.1f s (%.1f, %.1f, %.1f)", problem.c_str(), time, eye.x,
                          eye.y, eye.z);
            report.cameraProblems.push_back(line);
        }
    }
    report.carInViewShare = carInView / std::max(report.endTime, 1e-3);
    return report;
}

std::vector<std::string> problems(const Report& report, bool mustTakeEveryStone)
{
    std::vector<std::string> found;
    auto add = [&found](const std::string& text) { found.push_back(text); };
    if (mustTakeEveryStone && report.stonesTaken < 6) {
        add("only " + std::to_string(report.stonesTaken) + " of 6 stones taken");
    }
    if (report.closestApproach <= 0.0f) {
        add("a car touches the " + report.closestArea);
    }
    if (report.carInViewShare < 0.7) {
        add("a car is in view only " + std::to_string(int(report.carInViewShare * 100.0)) + "% of the race");
    }
    if (report.pickUpsInView < 4) {
        add("only " + std::to_string(report.pickUpsInView) + " pick-ups in view");
    }
    for (const auto& [name, seconds] : report.pieceSeconds) {
        if (seconds < 2.0) {
            add("the " + name + " is shown only " + std::to_string(seconds) + " s");
        }
    }
    for (const std::string& problem : report.cameraProblems) {
        add(problem);
    }
    if (report.endTime < 130.0 || report.endTime > 150.0) {
        add("the race lasts " + std::to_string(report.endTime) + " s, not 130 to 150");
    }
    for (CameraMethod method : {CameraMethod::FollowPlayer1, CameraMethod::LookAtPoint, CameraMethod::LookAlongCurve,
                                CameraMethod::FlyByRotation, CameraMethod::FollowPlayer2}) {
        if (std::find(report.methodsUsed.begin(), report.methodsUsed.end(), method) == report.methodsUsed.end()) {
            add("camera method " + std::to_string(static_cast<int>(method)) + " is never used");
        }
    }
    if (!report.restarted) {
        add("the race did not start over after its end");
    }
    int byPlayer[3] = {};
    for (const PickUp& pickUp : report.pickUps) {
        ++byPlayer[pickUp.player];
    }
    if (mustTakeEveryStone && (byPlayer[1] == 0 || byPlayer[2] == 0)) {
        add("one car takes no stone");
    }
    if (report.closeEncounters < 3) {
        add("the cars come close only " + std::to_string(report.closeEncounters) + " times");
    }
    return found;
}

} // namespace racecheck
