#pragma once

#include <glm/glm.hpp>

#include <array>

// Where things stand in the room, in world units (a car is about 3 long, so
// one unit is roughly 5 cm of a real room), and where the files that fill it
// lie. The program places the pieces by these numbers, the content generator
// builds the room around them and the tests measure the models against them,
// so each value lives here once.
namespace roomLayout {

// --- Asset folders, relative to bin/, the program's working directory ---

inline constexpr const char* shaderFolder = "../brimbolt/Shaders/";     // tracked GLSL sources
inline constexpr const char* modelFolder = "../brimbolt/models/";       // written by the content generator
inline constexpr const char* textureFolder = "../brimbolt/textures/";   // likewise; models name them by file
inline constexpr const char* musicFolder = "../brimbolt/music/";        // likewise: music and engine loops
inline constexpr const char* movementFolder = "../brimbolt/carMovement/"; // recorded race scripts

// --- The floor and the cars ---

// Top of the room's floor: everything that stands, stands on it.
inline constexpr float floorTop = -0.7f;

// Car origins at the start of the race, side by side. The heights differ
// because each body's origin sits at its own height above its wheels.
inline constexpr std::array<glm::vec3, 2> carStarts{{
    {10.0f, -0.1f, 15.0f},  // player 1
    {15.0f, 0.22f, 15.0f},  // player 2
}};

// The two cars as their models are built: where the four wheels sit (keys 1
// and 2 are the steered front wheels, forward is -z) and where the exhaust
// pipe ends, all in car space. The generator shapes the bodies around these
// points; the program mounts the tyres and the smoke on them.
struct CarModel {
    const char* bodyFile;
    std::array<glm::vec3, 4> wheelOffsets;
    glm::vec3 exhaustPoint; // both pipes of a car blow from here
};
inline constexpr std::array<CarModel, 2> cars{{
    // player 1: a low roadster on a short wheelbase
    {"car3.obj",
     {{{-0.7f, -0.2f, -1.3f}, {0.7f, -0.2f, -1.3f}, {-0.7f, -0.2f, 0.6f}, {0.7f, -0.2f, 0.6f}}},
     {-0.2f, -0.05f, 1.1f}},
    // player 2: a buggy, wheels wide and low, its body off-centre
    {"car4.obj",
     {{{-0.9f, -0.5f, -1.3f}, {0.7f, -0.5f, -1.3f}, {-0.9f, -0.5f, 1.3f}, {0.7f, -0.5f, 1.3f}}},
     {-0.41f, 0.4f, 1.6f}},
}};
// Both cars roll on the same tyre model.
inline constexpr const char* tyreFile = "tyre.DAE";

// --- Lights ---

// The three spot lights. The second is kept so the three stay indexed as the
// renderer counts them, but its position is not read: it rides on a car as
// its headlight.
inline constexpr std::array<glm::vec3, 3> lightPositions{{
    {0.0f, 48.0f, 5.0f},     // high over the start, covering the middle of the course
    {-35.0f, 29.0f, -50.0f}, // replaced by the headlight
    {-35.0f, 30.0f, 45.0f},  // before the armadillos, its cone on the stone wall behind them
}};

// --- Energy stones ---

// The first two lie a short way from the two starts, so each player can
// reach one straight away; the rest are spread along the course. They float
// at y = 0, low enough for a car to run into.
inline constexpr std::array<glm::vec3, 6> stonePositions{{
    {carStarts[0].x, 0.0f, carStarts[0].z - 10.0f},
    {carStarts[1].x + 2.0f, 0.0f, carStarts[1].z - 6.0f},
    {-5.0f, 0.0f, -53.0f},
    {-9.0f, 0.0f, -25.0f},
    {20.0f, 0.0f, 73.0f},
    {30.0f, 0.0f, 77.5f},
}};

// --- Show pieces ---

// A piece's placement, applied after a reset in this order: moved to
// `position`, turned `yawDegrees` about y, rolled `rollDegrees` about z, then
// scaled evenly by `scale` (so the model's own origin lands on `position`).
struct Placement {
    glm::vec3 position{0.0f};
    float yawDegrees = 0.0f;
    float rollDegrees = 0.0f;
    float scale = 1.0f;
};

// The reflective pig stands on the floor: the model's feet are at y = 0.
inline constexpr Placement pig{.position = {-5.0f, floorTop, 0.0f}, .yawDegrees = 110.0f};
// The relief torus floats above the course, rolled upright like a wheel, at
// half its model size.
inline constexpr Placement torus{.position = {-20.0f, 3.0f, 20.0f}, .rollDegrees = 90.0f, .scale = 0.5f};
// The aeroplane model already has its wheels at floor height, so it is only
// moved and turned.
inline constexpr Placement plane{.position = {-20.0f, 0.0f, -35.0f}, .yawDegrees = 45.0f};
// Two armadillos side by side before the stone wall, twice their model size,
// one drawn with its relief maps and one plain for comparison. Their feet are
// at y = 0, where the pedestals below end.
inline constexpr Placement reliefArmadillo{.position = {-30.0f, 0.0f, 60.0f}, .scale = 2.0f};
inline constexpr Placement plainArmadillo{.position = {-36.0f, 0.0f, 60.0f}, .scale = 2.0f};
// One pedestal under each armadillo: same x, z and scale, its top at y = 0.
inline constexpr std::array<Placement, 2> pedestals{{
    {.position = {reliefArmadillo.position.x, -0.5f, reliefArmadillo.position.z}, .scale = reliefArmadillo.scale},
    {.position = {plainArmadillo.position.x, -0.5f, plainArmadillo.position.z}, .scale = plainArmadillo.scale},
}};

// --- Render targets ---

// Edge of each light's square shadow map: 1024 keeps the soft shadows'
// blur affordable on a software renderer while the edges stay clean.
inline constexpr int shadowMapSize = 1024;
// Edge of each face of the pig's environment cube: the pig's curved skin
// shrinks the room so much that larger faces would show nothing more.
inline constexpr int environmentFaceSize = 128;

} // namespace roomLayout
