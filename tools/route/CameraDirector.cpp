#include "CameraDirector.h"

#include "scene/CameraKey.h"
#include "scene/RaceTimeline.h"
#include "scene/RoomLayout.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/quaternion.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace director {

namespace {

struct Shot {
    double start;
    CameraMethod method;
    int subject;          // the car the shot is about: 0 or 1
    glm::vec3 piece{0.0f}; // for look-at shots at a show piece; zero: look at the car
};

// The race as told by the camera: the start behind player 1, a trailing
// flight, both chase cameras, sweeps past the cars, and the pieces the cars
// pass watched from the side. The lighting scene at the end is watched at
// the armadillos.
const Shot shots[] = {
    {0.0, CameraMethod::FollowPlayer1, 0},
    {9.0, CameraMethod::LookAlongCurve, 0},
    {17.0, CameraMethod::FollowPlayer2, 1},
    {27.0, CameraMethod::FlyByRotation, 1},
    {35.0, CameraMethod::LookAtPoint, 0},
    {45.0, CameraMethod::FollowPlayer1, 0},
    {57.0, CameraMethod::LookAlongCurve, 1},
    {65.0, CameraMethod::FollowPlayer2, 1},
    {77.0, CameraMethod::FlyByRotation, 0},
    {85.0, CameraMethod::FollowPlayer1, 0},
    {97.0, CameraMethod::LookAtPoint, 1},
    {105.0, CameraMethod::FollowPlayer2, 1},
    {117.0, CameraMethod::FlyByRotation, 0},
    {raceTimeline::creditsStart, CameraMethod::FollowPlayer1, 0},
};

// Keys every so many seconds: the flights' control points.
constexpr double keySpacing = 2.0;
// A flying camera trails its car by this long, this high above the floor.
constexpr double trailTime = 0.9;
constexpr float cameraHeight = 5.0f;
// Sweeping cameras stand this far to the room's middle side of the car.
constexpr float sweepOffset = 9.0f;
const glm::vec2 roomMiddle(-5.0f, 12.0f);

const driver::Sample& sampleAt(const driver::Drive& drive, double time)
{
    const std::size_t index =
        std::min(drive.samples.size() - 1, std::size_t(std::max(0.0, time / driver::decisionInterval)));
    return drive.samples[index];
}

glm::vec3 carAt(const driver::Drive& drive, double time)
{
    return sampleAt(drive, time).position;
}

const Shot& shotAt(double time)
{
    const Shot* current = &shots[0];
    for (const Shot& shot : shots) {
        if (shot.start <= time) {
            current = &shot;
        }
    }
    return *current;
}

// Where the camera stands for a shot at a time.
glm::vec3 eyeFor(const Shot& shot, const driver::Drive& drive, double time)
{
    if (shot.method == CameraMethod::LookAlongCurve) {
        return carAt(drive, std::max(0.0, time - trailTime)) + glm::vec3(0.0f, cameraHeight, 0.0f);
    }
    const glm::vec3 car = carAt(drive, time);
    glm::vec2 towardsMiddle = roomMiddle - glm::vec2(car.x, car.z);
    towardsMiddle = glm::length(towardsMiddle) > 0.1f ? glm::normalize(towardsMiddle) : glm::vec2(1.0f, 0.0f);
    const glm::vec2 eye = glm::vec2(car.x, car.z) + sweepOffset * towardsMiddle;
    return {eye.x, roomLayout::floorTop + cameraHeight, eye.y};
}

// Whether a car's chase camera leaves the room or enters furniture between
// two times: its shot is flown instead then.
bool chaseLeavesTheRoom(const driver::Drive& drive, double from, double to,
                        const std::vector<course::KeepOut>& keepOuts)
{
    constexpr float margin = 1.5f;
    for (double time = from; time <= to + driver::decisionInterval; time += driver::decisionInterval) {
        const glm::vec3 eye = sampleAt(drive, time).chaseEye;
        if (eye.x < course::roomLower.x + margin || eye.x > course::roomUpper.x - margin ||
            eye.z < course::roomLower.y + margin || eye.z > course::roomUpper.y - margin) {
            return true;
        }
        for (const course::KeepOut& area : keepOuts) {
            if (course::clearance(area, {eye.x, eye.z}) < margin && eye.y - roomLayout::floorTop < area.height + margin) {
                return true;
            }
        }
    }
    return false;
}

// Lifts an eye that would stand in furniture or a show piece above it, with
// room for the curve between keys to dip a little.
glm::vec3 clear(glm::vec3 eye, const std::vector<course::KeepOut>& keepOuts)
{
    constexpr float margin = 2.0f;
    for (const course::KeepOut& area : keepOuts) {
        if (course::clearance(area, {eye.x, eye.z}) < margin) {
            eye.y = std::max(eye.y, roomLayout::floorTop + area.height + margin);
        }
    }
    return eye;
}

glm::vec3 targetFor(const Shot& shot, const driver::Drive& drive, double time)
{
    if (shot.method == CameraMethod::LookAtPoint && shot.piece != glm::vec3(0.0f)) {
        return shot.piece;
    }
    // Look at where the car will be a moment later, so it stays in the frame.
    return carAt(drive, time + 0.5 * keySpacing) + glm::vec3(0.0f, 0.5f, 0.0f);
}

glm::quat orientation(const glm::vec3& eye, const glm::vec3& target)
{
    const glm::mat4 view = glm::lookAt(eye, target, glm::vec3(0.0f, 1.0f, 0.0f));
    return glm::quat_cast(glm::mat3(glm::inverse(view)));
}

} // namespace

std::string cameraPath(const driver::Drive& player1, const driver::Drive& player2, double raceEnd,
                       const std::vector<course::KeepOut>& keepOuts)
{
    const driver::Drive* drives[2] = {&player1, &player2};
    std::string text;
    glm::quat previous(1.0f, 0.0f, 0.0f, 0.0f);
    // Keys on a regular beat and at every shot's start; one more after the
    // end, since the race ends at the next-to-last key.
    std::vector<double> times;
    for (double t = 0.0; t < raceEnd; t += keySpacing) {
        times.push_back(t);
    }
    for (const Shot& shot : shots) {
        times.push_back(shot.start);
    }
    std::sort(times.begin(), times.end());
    times.erase(std::unique(times.begin(), times.end(), [](double a, double b) { return std::abs(a - b) < 0.5; }),
                times.end());
    times.push_back(raceEnd);
    times.push_back(raceEnd + keySpacing);

    for (std::size_t k = 0; k < times.size(); ++k) {
        const double time = times[k];
        Shot shot = shotAt(time);
        const double next = k + 1 < times.size() ? times[k + 1] : time + keySpacing;
        if ((shot.method == CameraMethod::FollowPlayer1 || shot.method == CameraMethod::FollowPlayer2) && time > 0.0 &&
            chaseLeavesTheRoom(*drives[shot.subject], time, next, keepOuts)) {
            shot.method = CameraMethod::LookAlongCurve;
        }
        const driver::Drive& drive = *drives[shot.subject];
        const glm::vec3 eye = clear(eyeFor(shot, drive, time), keepOuts);
        const glm::vec3 target = targetFor(shot, drive, time);
        glm::quat rotation = orientation(eye, target);
        // Neighbouring rotations are blended component by component, so they
        // must lie on the same side of the sphere.
        if (glm::dot(rotation, previous) < 0.0f) {
            rotation = -rotation;
        }
        previous = rotation;
        char line[256];
        std::snprintf(line, sizeof line,
                      "time=%.2f method=%d position=%.2f,%.2f,%.2f rotation=%.5f,%.5f,%.5f,%.5f lookat=%.2f,%.2f,%.2f\n",
                      time, static_cast<int>(shot.method), eye.x, eye.y, eye.z, rotation.w, rotation.x, rotation.y, rotation.z,
                      target.x, target.y, target.z);
        text += line;
    }
    return text;
}

} // namespace director
