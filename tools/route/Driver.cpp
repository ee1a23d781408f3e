#include "Driver.h"

#include "scene/Camera.h"
#include "settings/Settings.h"
#include "vehicles/Car.h"
#include "vehicles/Controls.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace driver {

namespace {

// How far ahead on the lane the driver looks: farther when faster, so the
// car rounds corners instead of zig-zagging along the polyline.
float lookAhead(float speed)
{
    return std::clamp(speed * 0.45f, 4.0f, 9.0f);
}
// A stone closer than this is aimed at directly.
constexpr float stoneSight = 11.0f;
// The speed band: accelerate below target − 0.4, brake above target + 1.5.
constexpr float speedSlack = 0.4f;
constexpr float brakeSlack = 1.5f;
// Above the turn rate's threshold speed (3) with room to spare.
constexpr float minimumSteeringSpeed = 4.5f;

glm::vec2 floorPosition(const Car& car)
{
    return {(*car.modelMatrix)[3].x, (*car.modelMatrix)[3].z};
}

glm::vec2 floorForward(const Car& car)
{
    const glm::vec4 forward = *car.modelMatrix * glm::vec4(0.0f, 0.0f, -1.0f, 0.0f);
    return glm::normalize(glm::vec2(forward.x, forward.z));
}

// Follows the lane: the segment the car is on, and the point it looks at.
class LaneFollower {
public:
    LaneFollower(const course::Lane& lane, int player) : lane(lane), player(player) {}

    int nextIndex(int index) const { return index + 1 < int(lane.size()) ? index + 1 : 1; }

    // Moves on to later segments once the car has passed their start.
    void advance(glm::vec2 position)
    {
        for (int guard = 0; guard < int(lane.size()); ++guard) {
            glm::vec2 a = lane[segment].position;
            glm::vec2 b = lane[nextIndex(segment)].position;
            float along = glm::dot(position - a, b - a) / glm::dot(b - a, b - a);
            if (along < 1.0f) {
                return;
            }
            // From the last point back to the first of the loop: a lap done.
            lap += nextIndex(segment) < segment && segment != 0 ? 1 : 0;
            segment = nextIndex(segment);
        }
    }

    glm::vec2 aimPoint(glm::vec2 position, float speed) const
    {
        const course::LanePoint& end = lane[nextIndex(segment)];
        if (end.stone && glm::distance(position, end.position) < stoneSight) {
            return end.position;
        }
        // Walk the lane from the car's projection on its segment.
        glm::vec2 a = lane[segment].position;
        glm::vec2 b = end.position;
        float along = std::clamp(glm::dot(position - a, b - a) / glm::dot(b - a, b - a), 0.0f, 1.0f);
        glm::vec2 point = a + along * (b - a);
        float remaining = lookAhead(speed);
        int index = segment;
        for (int guard = 0; guard < int(lane.size()); ++guard) {
            glm::vec2 next = lane[nextIndex(index)].position;
            float length = glm::distance(point, next);
            if (length >= remaining) {
                return point + remaining * (next - point) / length;
            }
            remaining -= length;
            point = next;
            index = nextIndex(index);
        }
        return point;
    }

    // The slower of this segment's speed and, close to its end, the next one's.
    float targetSpeed(glm::vec2 position) const
    {
        const course::LanePoint& end = lane[nextIndex(segment)];
        float speed = lane[segment].speed;
        if (glm::distance(position, end.position) < 10.0f) {
            speed = std::min(speed, end.speed);
        }
        return speed * course::lapPace(player, lap);
    }

private:
    const course::Lane& lane;
    int player;
    int segment = 0;
    int lap = 0;
};

Controls decide(const Car& car, const LaneFollower& follower)
{
    const glm::vec2 position = floorPosition(car);
    const glm::vec2 forward = floorForward(car);
    const float speed = *car.speed;
    const glm::vec2 toAim = follower.aimPoint(position, speed) - position;
    // Positive: the aim lies to the left.
    const float error = glm::degrees(std::atan2(forward.y * toAim.x - forward.x * toAim.y, glm::dot(forward, toAim)));

    Controls controls;
    float target = follower.targetSpeed(position);
    if (std::abs(error) > 35.0f) {
        target = std::min(target, 10.0f);
    }
    if (speed < target - speedSlack) {
        controls |= Control::Accelerate;
    } else if (speed > target + brakeSlack) {
        controls |= Control::Brake;
    }
    // Steer when a sixth of a second of turning takes the car nearer its aim
    // than going straight would. Never while slow: below the threshold speed
    // the turn rate grows steeply with speed, and a turn made while it does
    // comes out differently at each frame step.
    const float turnPerDecision = std::abs(car.turnRate()) * float(decisionInterval);
    if (speed > minimumSteeringSpeed && std::abs(error) > 0.5f * turnPerDecision) {
        controls |= error > 0.0f ? Control::SteerLeft : Control::SteerRight;
    }
    return controls;
}

} // namespace

Drive drive(Car& car, const course::Lane& lane, int player, double seconds, double step)
{
    Drive result;
    LaneFollower follower(lane, player);
    const double savedStep = deltaTime;
    deltaTime = step;
    int interval = -1;
    Controls controls;
    const long steps = std::lround(seconds / step);
    for (long n = 1; n <= steps; ++n) {
        const double time = double(n) * step;
        // The interval that holds this frame's span of race time.
        const int current = int(std::floor((time - 0.5 * step) / decisionInterval));
        if (current != interval) {
            interval = current;
            follower.advance(floorPosition(car));
            const Controls chosen = decide(car, follower);
            if (result.decisions.empty() || chosen != controls) {
                result.decisions.push_back({interval, chosen});
            }
            controls = chosen;
            const glm::vec3 position((*car.modelMatrix)[3]);
            const glm::vec3 chaseEye((*car.camera->modelMatrix)[3]);
            result.samples.push_back({time - step, position, floorForward(car), *car.speed, chaseEye});
        }
        car.applyControls(controls);
        car.updateMotion();
    }
    deltaTime = savedStep;
    return result;
}

std::string script(const Drive& drive)
{
    std::string text;
    char line[64];
    for (const Decision& decision : drive.decisions) {
        std::snprintf(line, sizeof line, "%.4f;%d\n", decision.index * decisionInterval + eventDelay,
                      decision.controls.flags());
        text += line;
    }
    return text;
}

} // namespace driver
