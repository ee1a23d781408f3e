#pragma once

#include "ContentModelSupport.h"

#include <glm/glm.hpp>

#include <array>
#include <vector>

// Where the scene puts the generated models: the placements the content
// loading and the race restart apply, written out here so that the models
// can be measured in the room they will stand in.
namespace contenttest {

inline constexpr float wheelRadius = 0.41f;
// Height above the floor that must stay free wherever a car drives: the
// tallest body, car4 with its roof 1.28 above an origin at 0.22, reaches 2.2.
inline constexpr float carClearance = 2.5f;
// Half the side of the square kept free around each point the race passes.
inline constexpr float courseMargin = 1.5f;

struct CarPlacement {
    const char* body;
    glm::vec3 start;
    std::array<glm::vec3, 4> wheelOffsets; // wheel centres relative to the car's origin
    glm::vec3 exhaustPoint;                // both pipes of a car share one point
};

inline const std::array<CarPlacement, 2> carPlacements{{
    {"car3.obj", {10.0f, -0.1f, 15.0f}, {{{-0.7f, -0.2f, -1.3f}, {0.7f, -0.2f, -1.3f}, {-0.7f, -0.2f, 0.6f},
                                          {0.7f, -0.2f, 0.6f}}}, {-0.2f, -0.05f, 1.1f}},
    {"car4.obj", {15.0f, 0.22f, 15.0f}, {{{-0.9f, -0.5f, -1.3f}, {0.7f, -0.5f, -1.3f}, {-0.9f, -0.5f, 1.3f},
                                          {0.7f, -0.5f, 1.3f}}}, {-0.41f, 0.4f, 1.6f}},
}};

// The first two follow the car starts: (x0, 0, z0 - 10) and (x1 + 2, 0, z1 - 6).
inline const std::array<glm::vec3, 6> stonePositions{{{10.0f, 0.0f, 5.0f}, {17.0f, 0.0f, 9.0f},
                                                     {-5.0f, 0.0f, -53.0f}, {-9.0f, 0.0f, -25.0f},
                                                     {20.0f, 0.0f, 73.0f}, {30.0f, 0.0f, 77.5f}}};
inline const std::array<const char*, 3> stoneModels{"stoneG.obj", "stoneY.obj", "stoneR.obj"};

// How a piece moves once placed: the armadillos and pedestals spin about
// their own vertical axis, the torus about two axes, so in time any way round.
enum class Turning { None, AboutY, AnyWay };

struct ShowPiece {
    const char* name;
    const char* file;
    bool withTangents;
    glm::mat4 placement;
    Turning turning;
    bool onFloor; // the rest float or stand on a pedestal
};

inline std::vector<ShowPiece> showPieces()
{
    return {
        {"pig", "pigLow.obj", false, translation(-5.0f, -0.7f, 0.0f) * rotation(110.0f, {0, 1, 0}), Turning::None,
         true},
        {"stone wall", "stoneWall2.obj", true, glm::mat4(1.0f), Turning::None, true},
        {"torus", "torus.obj", true,
         translation(-20.0f, 3.0f, 20.0f) * rotation(90.0f, {0, 0, 1}) * scaling(0.5f), Turning::AnyWay, false},
        {"plane", "plane_reduced.obj", false, translation(-20.0f, 0.0f, -35.0f) * rotation(45.0f, {0, 1, 0}),
         Turning::None, true},
        {"relief armadillo", "armadilloNormalMap.obj", true, translation(-30.0f, 0.0f, 60.0f) * scaling(2.0f),
         Turning::AboutY, false},
        {"armadillo", "armadilloNormalMap.obj", false, translation(-36.0f, 0.0f, 60.0f) * scaling(2.0f),
         Turning::AboutY, false},
        {"pedestal at -30", "podest.obj", false, translation(-30.0f, -0.5f, 60.0f) * scaling(2.0f), Turning::AboutY,
         true},
        {"pedestal at -36", "podest.obj", false, translation(-36.0f, -0.5f, 60.0f) * scaling(2.0f), Turning::AboutY,
         true},
    };
}

// The world box a piece takes up at any moment of its turning. The
// placements scale uniformly, so one factor serves every axis.
inline Box occupiedSpace(const ShowPiece& piece)
{
    const Mesh& mesh = model(piece.file, piece.withTangents);
    const Box still = placed(boxOf(mesh.boundingBox), piece.placement);
    const glm::vec3 origin(piece.placement[3]);
    const float factor = glm::length(glm::vec3(piece.placement[0]));
    switch (piece.turning) {
    case Turning::None:
        return still;
    case Turning::AboutY: {
        const float reach = factor * farthestFromAxis(mesh, {0, 1, 0});
        return {{origin.x - reach, still.lower.y, origin.z - reach}, {origin.x + reach, still.upper.y, origin.z + reach}};
    }
    case Turning::AnyWay: {
        const float reach = factor * farthestFromOrigin(mesh);
        return {origin - glm::vec3(reach), origin + glm::vec3(reach)};
    }
    }
    return still;
}

// The space kept free around a point on the course, from just above the
// floor (so the floor and the rug do not count) up to the cars' height.
inline Box courseSpace(const glm::vec3& point)
{
    return {{point.x - courseMargin, floorTop + 0.02f, point.z - courseMargin},
            {point.x + courseMargin, floorTop + carClearance, point.z + courseMargin}};
}

} // namespace contenttest
