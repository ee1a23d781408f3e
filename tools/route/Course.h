#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

// The race course: for each car a closed lane of floor points (x, z) with the
// speed to hold from each point on, and the floor areas no car may enter.
namespace course {

struct LanePoint {
    glm::vec2 position; // floor x, z
    float speed;        // units per second to hold from here to the next point
    bool stone = false; // a stone lies here: drive straight at it
};

// Closed: after the last point the lane starts over at point 1 (point 0 is
// the car's start, driven once).
using Lane = std::vector<LanePoint>;

const Lane& lane(int player); // 0 or 1

// How much faster than its lane's speeds a player drives on a lap (0 is the
// first): the two cars take turns at leading.
float lapPace(int player, int lap);

// Something a car must keep clear of, as a floor rectangle or a circle.
struct KeepOut {
    std::string name;
    glm::vec2 lower{0.0f}; // rectangle corners, or the circle's centre in lower
    glm::vec2 upper{0.0f};
    float radius = 0.0f; // > 0: a circle
    float height = 0.0f; // top above the floor; a camera above it is clear
};

// Distance from a floor point to the area; negative inside.
float clearance(const KeepOut& area, glm::vec2 point);

// The room's inner walls on the floor.
constexpr glm::vec2 roomLower{-55.0f, -70.0f};
constexpr glm::vec2 roomUpper{45.0f, 95.0f};

} // namespace course
