#include "common/ShapePrimitives.h"
#include "models/CarHull.h"
#include "models/Models.h"
#include "scene/RoomLayout.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

// Player 2: a tall blue dune buggy with a yellow roll cage and its engine out
// in the open at the back. Its wheels (from the layout table) stand wider on
// the left than on the right, so the body is centred between them with the
// wheels outside the tub; the exhaust ends behind the engine.
namespace {
constexpr const roomLayout::CarModel& layout = roomLayout::cars[1];
constexpr float leftWheelX = layout.wheelOffsets[0].x, rightWheelX = layout.wheelOffsets[1].x;
constexpr float centreX = 0.5f * (leftWheelX + rightWheelX);
constexpr float wheelY = layout.wheelOffsets[0].y, wheelZ = layout.wheelOffsets[2].z;
const glm::vec3 exhaustEnd = layout.exhaustPoint;

Material paint()
{
    return makeMaterial("BluePaint", {0.08f, 0.28f, 0.85f}, 0.8f, 120.0f);
}
Material cage()
{
    return makeMaterial("YellowBars", {0.98f, 0.78f, 0.08f}, 0.6f, 80.0f);
}
Material dark()
{
    return makeMaterial("Interior", {0.10f, 0.10f, 0.11f}, 0.1f, 10.0f);
}
Material fenders()
{
    return makeMaterial("WheelArches", {0.12f, 0.12f, 0.13f}, 0.2f, 20.0f);
}
Material metal()
{
    return makeMaterial("Engine", {0.55f, 0.56f, 0.60f}, 0.9f, 100.0f);
}

glm::vec3 atCentre(float x, float y, float z)
{
    return {centreX + x, y, z};
}

HullDesign tubHull()
{
    HullDesign d;
    d.keys = {
        {-1.92f, 0.40f, -0.28f, -0.08f, 0.02f}, {-1.80f, 0.55f, -0.36f, 0.02f, 0.18f},
        {-1.30f, 0.60f, -0.42f, 0.14f, 0.32f},  {-0.60f, 0.60f, -0.42f, 0.30f, 0.52f},
        {0.20f, 0.60f, -0.42f, 0.30f, 0.54f},   {0.62f, 0.58f, -0.42f, 0.22f, 0.42f},
        {0.92f, 0.52f, -0.36f, 0.06f, 0.20f},
    };
    d.centreX = centreX;
    d.tumblehome = 0.05f;
    d.crown = 0.03f;
    d.cockpit = Cockpit{-0.55f, 0.42f, 0.48f, 0.36f};
    d.paint = paint();
    d.arch = fenders();
    d.interior = dark();
    return d;
}

// Round bent tubes: the main hoop behind the seats, the screen hoop, the roof
// rails between them and the braces back over the engine.
void addRollCage(Shape& shape)
{
    shape.useMaterial(cage());
    constexpr float bar = 0.038f;
    auto tube = [&](std::vector<glm::vec3> points) {
        primitives::addTube(shape, primitives::roundCorners(points, 0.14f, 6), bar, 10);
    };
    tube({atCentre(-0.55f, 0.40f, 0.42f), atCentre(-0.50f, 1.16f, 0.42f), atCentre(0.50f, 1.16f, 0.42f),
          atCentre(0.55f, 0.40f, 0.42f)});
    tube({atCentre(-0.56f, 0.48f, -0.62f), atCentre(-0.48f, 1.12f, -0.25f), atCentre(0.48f, 1.12f, -0.25f),
          atCentre(0.56f, 0.48f, -0.62f)});
    for (float side : {-1.0f, 1.0f}) {
        tube({atCentre(side * 0.48f, 1.12f, -0.25f), atCentre(side * 0.50f, 1.16f, 0.42f)});
        tube({atCentre(side * 0.45f, 1.16f, 0.42f), atCentre(side * 0.40f, 0.34f, 1.30f)});
    }
    // Bumper bars front and back, bent round the corners of the tub.
    tube({atCentre(-0.45f, -0.22f, -1.70f), atCentre(-0.45f, -0.22f, -2.02f), atCentre(0.45f, -0.22f, -2.02f),
          atCentre(0.45f, -0.22f, -1.70f)});
    tube({atCentre(-0.50f, 0.05f, -1.72f), atCentre(-0.40f, 0.05f, -2.0f), atCentre(0.40f, 0.05f, -2.0f),
          atCentre(0.50f, 0.05f, -1.72f)});
    tube({atCentre(-0.40f, -0.30f, 0.9f), atCentre(-0.40f, -0.30f, 1.58f), atCentre(0.40f, -0.30f, 1.58f),
          atCentre(0.40f, -0.30f, 0.9f)});
    for (float side : {-1.0f, 1.0f}) {
        tube({atCentre(side * 0.40f, -0.30f, 1.5f), atCentre(side * 0.40f, 0.34f, 1.30f)});
    }
}

void addScreenAndSeats(Shape& shape)
{
    shape.useMaterial(makeMaterial("Glass", {0.20f, 0.28f, 0.36f}, 1.0f, 200.0f));
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), atCentre(0.0f, 0.80f, -0.45f)),
                                    glm::radians(-28.0f), {1, 0, 0}));
    primitives::addBlob(shape, {0, 0, 0}, {0.50f, 0.28f, 0.015f}, 20, 12, 8.0f, 8.0f);
    shape.popTransform();
    shape.useMaterial(dark());
    for (float x : {-0.24f, 0.24f}) {
        primitives::addBlob(shape, atCentre(x, 0.27f, 0.02f), {0.2f, 0.07f, 0.22f}, 16, 10, 5.0f, 3.0f);
        shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), atCentre(x, 0.55f, 0.25f)),
                                        glm::radians(-12.0f), {1, 0, 0}));
        primitives::addBlob(shape, {0, 0, 0}, {0.2f, 0.3f, 0.07f}, 16, 10, 5.0f, 3.0f);
        shape.popTransform();
    }
    // Steering wheel on a column to the dashboard.
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), atCentre(-0.24f, 0.62f, -0.3f)),
                                    glm::radians(65.0f), {1, 0, 0}));
    std::vector<glm::vec2> rim;
    for (int k = 0; k <= 8; ++k) {
        float a = glm::two_pi<float>() * k / 8;
        rim.push_back({0.13f + 0.022f * std::cos(a), 0.022f * std::sin(a)});
    }
    primitives::addLathe(shape, rim, 20);
    primitives::addTube(shape, {{-0.12f, 0, 0}, {0.12f, 0, 0}}, 0.015f, 6);
    primitives::addTube(shape, {{0, 0, 0}, {0, -0.25f, 0}}, 0.03f, 8);
    shape.popTransform();
}

// Flared guards over each wheel, on a short stay from the tub.
void addFenders(Shape& shape)
{
    shape.useMaterial(fenders());
    for (float x : {leftWheelX, rightWheelX}) {
        for (float z : {-wheelZ, wheelZ}) {
            glm::mat4 place = glm::translate(glm::mat4(1.0f), {x, wheelY, z});
            shape.pushTransform(glm::rotate(place, glm::radians(-90.0f), {0, 0, 1}));
            // Lathe angles run from +z towards +x, which this turn makes -y:
            // over the top of the wheel is -pi .. 0.
            float from = -glm::pi<float>() * 0.92f, to = -glm::pi<float>() * 0.08f;
            primitives::addLathe(shape, {{0.50f, -0.19f}, {0.54f, -0.19f}, {0.54f, 0.19f}, {0.50f, 0.19f}, {0.50f, -0.19f}},
                                 16, from, to);
            shape.popTransform();
            float inner = x < centreX ? x + 0.16f : x - 0.16f;
            float tub = x < centreX ? centreX - 0.58f : centreX + 0.58f;
            primitives::addTube(shape, {{tub, 0.0f, z}, {inner, 0.0f, z}}, 0.035f, 8);
        }
    }
}

void addEngineAndExhaust(Shape& shape)
{
    shape.useMaterial(metal());
    primitives::addBlob(shape, atCentre(0.0f, -0.05f, 1.12f), {0.32f, 0.22f, 0.28f}, 18, 10, 5.0f, 4.0f);
    for (float side : {-1.0f, 1.0f}) {
        primitives::addBlob(shape, atCentre(side * 0.36f, 0.0f, 1.12f), {0.09f, 0.14f, 0.2f}, 12, 8, 4.0f, 4.0f);
    }
    // Air filter on top.
    shape.pushTransform(glm::translate(glm::mat4(1.0f), atCentre(0.0f, 0.16f, 1.1f)));
    primitives::addLathe(shape, {{0.0f, 0.0f}, {0.18f, 0.0f}, {0.2f, 0.04f}, {0.2f, 0.1f}, {0.18f, 0.14f}, {0.0f, 0.14f}},
                         24);
    shape.popTransform();
    // Exhaust from the engine's left side up and back; the open mouth is the smoke's origin.
    shape.useMaterial(makeMaterial("Chrome", {0.80f, 0.80f, 0.82f}, 1.0f, 150.0f));
    std::vector<glm::vec3> pipe = primitives::roundCorners(
        {{-0.41f, -0.05f, 1.15f}, {-0.41f, 0.05f, 1.42f}, {-0.41f, 0.4f, 1.42f}, exhaustEnd - glm::vec3(0, 0, 0.12f)},
        0.1f, 6);
    primitives::addTube(shape, pipe, 0.05f, 12, false, false);
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), exhaustEnd - glm::vec3(0, 0, 0.14f)),
                                    glm::radians(90.0f), {1, 0, 0}));
    primitives::addLathe(shape, {{0, 0}, {0.065f, 0}, {0.065f, 0.14f}, {0.045f, 0.14f}, {0.045f, 0.1f}, {0, 0.1f}}, 14);
    shape.popTransform();
}

void addLights(Shape& shape)
{
    shape.useMaterial(makeMaterial("HeadLights", {1.0f, 0.96f, 0.82f}, 1.0f, 200.0f));
    for (float side : {-1.0f, 1.0f}) {
        primitives::addBlob(shape, atCentre(side * 0.3f, 0.36f, -1.42f), {0.1f, 0.1f, 0.05f}, 14, 10);
    }
    for (int k = 0; k < 4; ++k) {
        primitives::addBlob(shape, atCentre(-0.3f + 0.2f * k, 1.22f, -0.28f), {0.065f, 0.06f, 0.05f}, 12, 8);
    }
    shape.useMaterial(makeMaterial("TailLights", {1.0f, 0.12f, 0.08f}, 1.0f, 200.0f));
    for (float side : {-1.0f, 1.0f}) {
        primitives::addBlob(shape, atCentre(side * 0.40f, 0.06f, 0.92f), {0.08f, 0.05f, 0.03f}, 12, 8);
    }
    shape.useMaterial(metal());
    for (float side : {-1.0f, 1.0f}) {
        shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), atCentre(side * 0.3f, 0.36f, -1.40f)),
                                        glm::radians(90.0f), {1, 0, 0}));
        primitives::addLathe(shape, {{0.0f, -0.06f}, {0.12f, -0.06f}, {0.12f, -0.0f}, {0.105f, 0.0f}, {0.105f, -0.02f},
                                     {0.0f, -0.02f}},
                             16);
        shape.popTransform();
    }
}
} // namespace

MeshBuilder buildBuggy()
{
    Shape body, parts;
    addHull(body, tubHull());
    addRollCage(parts);
    addScreenAndSeats(parts);
    addFenders(parts);
    addEngineAndExhaust(parts);
    addLights(parts);
    MeshBuilder mesh;
    body.emit(mesh, 50.0f);
    parts.emit(mesh, 50.0f);
    return mesh;
}
