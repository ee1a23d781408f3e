#include "common/ShapePrimitives.h"
#include "models/CarHull.h"
#include "models/Models.h"
#include "scene/RoomLayout.h"

#include <glm/gtc/matrix_transform.hpp>

// Player 1: a low red roadster. The program mounts its tyres (radius 0.41)
// and its smoke where the layout table says; the hull, openings and pipe are
// laid out round those points.
namespace {
constexpr const roomLayout::CarModel& layout = roomLayout::cars[0];
constexpr float wheelY = layout.wheelOffsets[0].y;
constexpr float frontZ = layout.wheelOffsets[0].z, rearZ = layout.wheelOffsets[2].z;
// Tyre 0.41 plus room to steer in front; at the back the opening may not
// reach past the tail.
constexpr float frontArchRadius = 0.48f, rearArchRadius = 0.45f;
const glm::vec3 exhaustEnd = layout.exhaustPoint;

HullDesign roadsterHull()
{
    HullDesign d;
    d.keys = {
        {-2.02f, 0.55f, -0.30f, -0.10f, -0.02f}, {-1.92f, 0.76f, -0.37f, 0.02f, 0.12f},
        {-1.70f, 0.86f, -0.40f, 0.14f, 0.26f},   {-1.30f, 0.90f, -0.40f, 0.26f, 0.38f},
        {-0.80f, 0.90f, -0.40f, 0.28f, 0.42f},   {-0.20f, 0.90f, -0.40f, 0.28f, 0.44f},
        {0.30f, 0.90f, -0.40f, 0.28f, 0.44f},    {0.75f, 0.89f, -0.38f, 0.28f, 0.43f},
        {0.97f, 0.85f, -0.34f, 0.22f, 0.37f},    {1.07f, 0.78f, -0.28f, 0.16f, 0.29f},
    };
    d.tumblehome = 0.08f;
    d.crown = 0.05f;
    d.arches = {{frontZ, wheelY, frontArchRadius}, {rearZ, wheelY, rearArchRadius}};
    d.cockpit = Cockpit{-0.62f, 0.42f, 0.62f, 0.30f};
    d.paint = makeMaterial("RedPaint", {0.80f, 0.07f, 0.05f}, 0.8f, 120.0f);
    d.arch = makeMaterial("WheelArches", {0.08f, 0.08f, 0.09f}, 0.1f, 10.0f);
    d.interior = makeMaterial("Interior", {0.13f, 0.11f, 0.10f}, 0.1f, 10.0f);
    d.stripe = makeMaterial("Stripes", {0.95f, 0.95f, 0.92f}, 0.8f, 120.0f);
    return d;
}

void addSeats(Shape& shape)
{
    shape.useMaterial(makeMaterial("Seats", {0.62f, 0.45f, 0.30f}, 0.2f, 30.0f));
    for (float x : {-0.32f, 0.32f}) {
        primitives::addBlob(shape, {x, 0.20f, 0.05f}, {0.22f, 0.07f, 0.22f}, 16, 10, 5.0f, 3.0f);
        shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), {x, 0.42f, 0.27f}), glm::radians(-14.0f),
                                        {1, 0, 0}));
        primitives::addBlob(shape, {0, 0, 0}, {0.22f, 0.26f, 0.07f}, 16, 10, 5.0f, 3.0f);
        primitives::addBlob(shape, {0, 0.33f, 0.0f}, {0.12f, 0.08f, 0.06f}, 12, 8, 3.0f, 3.0f);
        shape.popTransform();
    }
}

void addCockpitDetails(Shape& shape)
{
    shape.useMaterial(makeMaterial("Interior", {0.13f, 0.11f, 0.10f}, 0.1f, 10.0f));
    // Dashboard under the screen, and the wheel in front of the left seat.
    primitives::addBlob(shape, {0.0f, 0.33f, -0.52f}, {0.62f, 0.09f, 0.1f}, 20, 8, 4.0f, 3.0f);
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), {-0.32f, 0.45f, -0.33f}), glm::radians(70.0f),
                                    {1, 0, 0}));
    std::vector<glm::vec2> rim;
    for (int k = 0; k <= 8; ++k) {
        float a = glm::two_pi<float>() * k / 8;
        rim.push_back({0.14f + 0.025f * std::cos(a), 0.025f * std::sin(a)});
    }
    primitives::addLathe(shape, rim, 20);
    primitives::addTube(shape, {{-0.13f, 0, 0}, {0.13f, 0, 0}}, 0.015f, 6);
    primitives::addTube(shape, {{0, 0, 0}, {0, -0.2f, 0}}, 0.03f, 8);
    shape.popTransform();
}

void addWindscreen(Shape& shape)
{
    shape.useMaterial(makeMaterial("Glass", {0.20f, 0.28f, 0.36f}, 1.0f, 200.0f));
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, 0.59f, -0.60f}), glm::radians(-32.0f),
                                    {1, 0, 0}));
    primitives::addBlob(shape, {0, 0, 0}, {0.72f, 0.19f, 0.018f}, 24, 12, 8.0f, 8.0f);
    shape.popTransform();
    // Mirrors on short stalks at the screen's foot.
    shape.useMaterial(makeMaterial("RedPaint", {0.80f, 0.07f, 0.05f}, 0.8f, 120.0f));
    for (float side : {-1.0f, 1.0f}) {
        primitives::addBlob(shape, {side * 0.93f, 0.53f, -0.52f}, {0.09f, 0.05f, 0.04f}, 10, 8);
        primitives::addTube(shape, {{side * 0.78f, 0.44f, -0.52f}, {side * 0.88f, 0.52f, -0.52f}}, 0.015f, 6);
    }
}

void addLightsAndBumpers(Shape& shape)
{
    Material chrome = makeMaterial("Bumpers", {0.72f, 0.74f, 0.78f}, 1.0f, 150.0f);
    shape.useMaterial(chrome);
    std::vector<glm::vec3> front = primitives::roundCorners(
        {{-0.78f, -0.26f, -1.86f}, {-0.62f, -0.26f, -2.07f}, {0.62f, -0.26f, -2.07f}, {0.78f, -0.26f, -1.86f}}, 0.15f, 6);
    primitives::addTube(shape, front, 0.055f, 10);
    std::vector<glm::vec3> rear = primitives::roundCorners(
        {{-0.74f, -0.25f, 0.98f}, {-0.6f, -0.25f, 1.08f}, {0.6f, -0.25f, 1.08f}, {0.74f, -0.25f, 0.98f}}, 0.1f, 6);
    primitives::addTube(shape, rear, 0.05f, 10);
    // Exhaust: a short pipe whose open mouth is the smoke's origin.
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), exhaustEnd - glm::vec3(0, 0, 0.2f)),
                                    glm::radians(90.0f), {1, 0, 0}));
    primitives::addLathe(shape, {{0, 0}, {0.055f, 0}, {0.055f, 0.2f}, {0.04f, 0.2f}, {0.04f, 0.15f}, {0, 0.15f}}, 14);
    shape.popTransform();

    shape.useMaterial(makeMaterial("HeadLights", {1.0f, 0.96f, 0.82f}, 1.0f, 200.0f));
    for (float side : {-1.0f, 1.0f}) {
        shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), {side * 0.56f, 0.06f, -1.9f}),
                                        glm::radians(-35.0f), {1, 0, 0}));
        primitives::addBlob(shape, {0, 0, 0}, {0.17f, 0.08f, 0.08f}, 14, 8);
        shape.popTransform();
    }
    shape.useMaterial(makeMaterial("TailLights", {1.0f, 0.30f, 0.10f}, 1.0f, 200.0f));
    for (float side : {-1.0f, 1.0f}) {
        primitives::addBlob(shape, {side * 0.52f, 0.10f, 1.04f}, {0.18f, 0.055f, 0.04f}, 14, 8, 5.0f, 3.0f);
    }
    shape.useMaterial(makeMaterial("WheelArches", {0.08f, 0.08f, 0.09f}, 0.1f, 10.0f));
    // Grille in the nose, and a floor pan that closes the view through the openings.
    primitives::addBlob(shape, {0.0f, -0.16f, -2.0f}, {0.34f, 0.07f, 0.04f}, 14, 8, 5.0f, 5.0f);
    // Narrower between the front wheels, which swing inward when they steer.
    primitives::addBox(shape, {-0.34f, -0.40f, -1.85f}, {0.34f, -0.05f, -0.8f});
    primitives::addBox(shape, {-0.52f, -0.40f, -0.8f}, {0.52f, -0.05f, 0.95f});
}

void addRollBarAndSpoiler(Shape& shape)
{
    shape.useMaterial(makeMaterial("Bumpers", {0.72f, 0.74f, 0.78f}, 1.0f, 150.0f));
    for (float x : {-0.32f, 0.32f}) {
        std::vector<glm::vec3> hoop = primitives::roundCorners(
            {{x - 0.2f, 0.40f, 0.47f}, {x - 0.16f, 0.86f, 0.47f}, {x + 0.16f, 0.86f, 0.47f}, {x + 0.2f, 0.40f, 0.47f}},
            0.12f, 6);
        primitives::addTube(shape, hoop, 0.035f, 8);
    }
    shape.useMaterial(makeMaterial("WheelArches", {0.08f, 0.08f, 0.09f}, 0.1f, 10.0f));
    primitives::addBlob(shape, {0.0f, 0.56f, 0.93f}, {0.8f, 0.022f, 0.12f}, 20, 6, 6.0f, 2.0f);
    for (float side : {-1.0f, 1.0f}) {
        primitives::addBox(shape, {side * 0.55f - 0.02f, 0.34f, 0.88f}, {side * 0.55f + 0.02f, 0.55f, 0.98f});
        primitives::addBox(shape, {side * 0.81f - 0.015f, 0.50f, 0.83f}, {side * 0.81f + 0.015f, 0.63f, 1.04f});
    }
}
} // namespace

MeshBuilder buildRoadster()
{
    Shape body;
    addHull(body, roadsterHull());
    Shape parts;
    addSeats(parts);
    addCockpitDetails(parts);
    addWindscreen(parts);
    addLightsAndBumpers(parts);
    addRollBarAndSpoiler(parts);
    MeshBuilder mesh;
    body.emit(mesh, 50.0f);
    parts.emit(mesh, 50.0f);
    return mesh;
}
