#include "Course.h"

#include <algorithm>
#include <cmath>

namespace course {

namespace {

// Two lanes round the room, side by side five or six units apart: out from
// the starts past the first stones, west of the table to the far wall, back
// along the west side past the bookshelf, round the armadillos and the stone
// wall, east along the south wall over the last stones and north between
// the rug and the sofa to the starts again. Player 1 holds the inner lane and
// takes stones 1, 4 and 5; player 2 the outer one with stones 2, 3 and 6.
// Corners are taken at 11 to 13, straights at up to 18, below the top speed,
// so that a car's speed follows its script the same way at any frame step.
// On alternate laps one car drives a little faster than the other, so they
// fall apart and meet again.
const Lane lanes[2] = {
    {
        {{10.0f, 15.0f}, 15.0f},
        {{10.0f, 5.0f}, 15.0f, true}, // stone 1
        {{6.0f, -3.0f}, 15.0f},
        {{-6.5f, -18.0f}, 14.0f},
        {{-9.0f, -25.0f}, 14.0f, true}, // stone 4
        {{-11.0f, -42.0f}, 12.0f},
        {{-16.0f, -54.0f}, 12.0f},
        {{-28.0f, -57.0f}, 13.0f},
        {{-36.0f, -48.0f}, 16.0f},
        {{-37.0f, -20.0f}, 18.0f},
        {{-37.0f, 25.0f}, 13.0f},
        {{-29.0f, 40.0f}, 13.0f},
        {{-15.0f, 51.0f}, 13.0f},
        {{-8.0f, 65.0f}, 14.0f},
        {{2.0f, 72.5f}, 15.0f},
        {{20.0f, 73.0f}, 15.0f, true}, // stone 5
        {{31.0f, 71.0f}, 12.0f},
        {{23.0f, 58.0f}, 14.0f},
        {{22.0f, 40.0f}, 14.0f},
        {{16.0f, 27.0f}, 14.0f},
        {{10.0f, 15.0f}, 15.0f},
    },
    {
        {{15.0f, 15.0f}, 15.0f},
        {{17.0f, 9.0f}, 15.0f, true}, // stone 2
        {{12.0f, -4.0f}, 15.0f},
        {{0.0f, -20.0f}, 14.0f},
        {{-3.0f, -32.0f}, 14.0f},
        {{-5.0f, -53.0f}, 13.0f, true}, // stone 3
        {{-11.0f, -62.0f}, 12.0f},
        {{-28.0f, -64.0f}, 13.0f},
        {{-42.0f, -52.0f}, 16.0f},
        {{-43.0f, -20.0f}, 18.0f},
        {{-43.0f, 27.0f}, 13.0f},
        {{-35.0f, 43.0f}, 13.0f},
        {{-20.0f, 55.0f}, 13.0f},
        {{-12.0f, 71.0f}, 14.0f},
        {{0.0f, 78.0f}, 15.0f},
        {{30.0f, 77.5f}, 15.0f, true}, // stone 6
        {{37.0f, 73.0f}, 12.0f},
        {{28.0f, 58.0f}, 14.0f},
        {{27.0f, 40.0f}, 14.0f},
        {{22.0f, 27.0f}, 14.0f},
        {{17.0f, 17.0f}, 15.0f},
    },
};

} // namespace

const Lane& lane(int player)
{
    return lanes[player];
}

float laneLength(int player)
{
    const Lane& points = lanes[player];
    float length = 0.0f;
    for (std::size_t i = 1; i + 1 < points.size(); ++i) {
        length += glm::distance(points[i].position, points[i + 1].position);
    }
    return length + glm::distance(points.back().position, points[1].position);
}

float lapPace(int player, int lap)
{
    // The outer lane is longer: its car drives that much faster, so the two
    // stay level over a lap. Seven percent either way keeps the fastest
    // straight under the speed where acceleration starts to depend on the
    // frame step.
    constexpr float swing = 0.07f;
    const float level = laneLength(player) / laneLength(0);
    const bool ahead = (lap % 2 == 1) == (player == 0);
    return level * (lap == 0 ? 1.0f : (ahead ? 1.0f + swing : 1.0f - swing));
}

float clearance(const KeepOut& area, glm::vec2 point)
{
    if (area.radius > 0.0f) {
        return glm::distance(point, area.lower) - area.radius;
    }
    const glm::vec2 outside = glm::max(area.lower - point, point - area.upper);
    if (outside.x <= 0.0f && outside.y <= 0.0f) {
        return std::max(outside.x, outside.y);
    }
    return glm::length(glm::max(outside, glm::vec2(0.0f)));
}

} // namespace course
