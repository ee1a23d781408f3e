#include "common/ShapePrimitives.h"
#include "models/Models.h"
#include "scene/RoomLayout.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

#include <cmath>
#include <vector>

// A toy propeller plane with elliptical wings, nose towards -z, about 6.1
// long and 6.2 across. It sits on its tail wheel, nose up, and the bottoms of
// all three wheels are on the floor where it is placed.
namespace {
constexpr float floorY = roomLayout::floorTop - roomLayout::plane.position.y;
constexpr float wheelRadius = 0.28f, tailWheelRadius = 0.12f;
const glm::vec3 mainAxle(0.0f, floorY + wheelRadius, -1.2f);
constexpr float pitchDegrees = 9.0f;

// Nose up about the main axle, so the main wheels stay where they are.
glm::mat4 pitch()
{
    glm::mat4 m = glm::translate(glm::mat4(1.0f), mainAxle);
    m = glm::rotate(m, glm::radians(pitchDegrees), {1, 0, 0});
    return glm::translate(m, -mainAxle);
}

// Fuselage height and half-width along its length, nose to tail.
std::vector<primitives::TubeRing> fuselageRings()
{
    std::vector<primitives::TubeRing> rings;
    constexpr int count = 28;
    constexpr float nose = -2.75f, tail = 3.0f;
    for (int k = 0; k <= count; ++k) {
        float t = float(k) / count;
        float z = glm::mix(nose, tail, t);
        // Full behind the cowling, then narrowing towards the tail.
        float fullness = t < 0.12f ? 0.85f + 0.15f * std::sin(t / 0.12f * glm::half_pi<float>())
                                   : 1.0f - 0.78f * std::pow((t - 0.12f) / 0.88f, 1.4f);
        float centreY = 0.45f + 0.25f * t * t;
        rings.push_back({{0.0f, centreY, z}, glm::vec2(0.6f, 0.54f) * fullness});
    }
    return rings;
}

void addWheel(Shape& shape, const glm::vec3& centre, float radius, float width)
{
    shape.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), centre), glm::radians(-90.0f), {0, 0, 1}));
    std::vector<glm::vec2> tyre;
    for (int k = 0; k <= 12; ++k) {
        float a = glm::two_pi<float>() * k / 12;
        tyre.push_back({radius - width * 0.5f + width * 0.5f * std::cos(a), width * 0.5f * std::sin(a)});
    }
    primitives::addLathe(shape, tyre, 24);
    shape.popTransform();
}
} // namespace

MeshBuilder buildAeroplane()
{
    Material paint = makeMaterial("PlaneOrange", {0.95f, 0.52f, 0.10f}, 0.6f, 90.0f);
    Material wings = makeMaterial("PlaneCream", {0.94f, 0.92f, 0.84f}, 0.5f, 60.0f);
    Material trim = makeMaterial("PlaneRed", {0.85f, 0.12f, 0.10f}, 0.6f, 90.0f);
    Material metal = makeMaterial("PlaneMetal", {0.62f, 0.64f, 0.68f}, 0.9f, 120.0f);
    Material rubber = makeMaterial("PlaneTyres", {0.10f, 0.10f, 0.11f}, 0.1f, 10.0f);

    Shape body; // everything that tilts with the plane
    body.pushTransform(pitch());
    body.useMaterial(paint);
    primitives::addTube(body, fuselageRings(), 28, {0, 1, 0}, true, true);
    body.useMaterial(wings);
    for (float side : {-1.0f, 1.0f}) {
        // Each half wing rises a little towards its tip.
        glm::mat4 half = glm::rotate(glm::translate(glm::mat4(1.0f), {side * 1.5f, 0.2f, -0.85f}),
                                     glm::radians(side * 5.0f), {0, 0, 1});
        body.pushTransform(half);
        primitives::addBlob(body, {0, 0, 0}, {1.62f, 0.09f, 0.72f}, 32, 10, 2.4f, 2.0f);
        body.popTransform();
    }
    primitives::addBlob(body, {0.0f, 0.76f, 2.55f}, {1.15f, 0.05f, 0.38f}, 24, 8, 2.4f, 2.0f);
    body.useMaterial(trim);
    body.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, 1.2f, 2.62f}), glm::radians(18.0f),
                                   {1, 0, 0}));
    primitives::addBlob(body, {0, 0, 0}, {0.05f, 0.55f, 0.36f}, 10, 16, 2.0f, 2.4f);
    body.popTransform();
    // Cowling ring and spinner at the nose.
    body.pushTransform(glm::rotate(glm::translate(glm::mat4(1.0f), {0.0f, 0.45f, -2.62f}), glm::radians(-90.0f),
                                   {1, 0, 0}));
    primitives::addLathe(body, {{0.46f, -0.05f}, {0.56f, 0.0f}, {0.56f, 0.14f}, {0.46f, 0.18f}, {0.0f, 0.18f}}, 28);
    primitives::addLathe(body, {{0.0f, 0.15f}, {0.2f, 0.18f}, {0.18f, 0.32f}, {0.1f, 0.44f}, {0.0f, 0.5f}}, 20);
    body.popTransform();
    // A two-bladed propeller, its blades twisted against the air.
    body.useMaterial(makeMaterial("Propeller", {0.45f, 0.28f, 0.14f}, 0.4f, 40.0f));
    for (float side : {-1.0f, 1.0f}) {
        glm::mat4 blade = glm::translate(glm::mat4(1.0f), {0.0f, 0.45f + side * 0.5f, -3.0f});
        blade = glm::rotate(blade, glm::radians(side * 20.0f), {0, 1, 0});
        body.pushTransform(blade);
        primitives::addBlob(body, {0, 0, 0}, {0.1f, 0.46f, 0.025f}, 12, 12, 2.0f, 2.2f);
        body.popTransform();
    }
    body.useMaterial(makeMaterial("Canopy", {0.25f, 0.38f, 0.50f}, 1.0f, 200.0f));
    primitives::addBlob(body, {0.0f, 1.0f, -0.45f}, {0.3f, 0.28f, 0.62f}, 20, 12);
    // Struts from under the wings down to the main axle and the tail wheel.
    body.useMaterial(metal);
    for (float side : {-1.0f, 1.0f}) {
        primitives::addTube(body, {{side * 0.75f, 0.15f, -1.0f}, {side * 0.9f, mainAxle.y, mainAxle.z}}, 0.05f, 8);
    }
    body.popTransform();

    // The wheels are placed outside the tilt, so their bottoms are exactly on the floor.
    Shape gear;
    gear.useMaterial(metal);
    glm::vec3 tailWheel(0.0f, floorY + tailWheelRadius, 2.35f);
    glm::vec3 tailMount = glm::vec3(pitch() * glm::vec4(0.0f, 0.45f, 2.35f, 1.0f));
    primitives::addTube(gear, {tailMount, tailWheel}, 0.035f, 8);
    primitives::addTube(gear, {{-1.05f, mainAxle.y, mainAxle.z}, {1.05f, mainAxle.y, mainAxle.z}}, 0.035f, 8);
    gear.useMaterial(rubber);
    for (float side : {-1.0f, 1.0f}) {
        addWheel(gear, {side * 0.98f, mainAxle.y, mainAxle.z}, wheelRadius, 0.16f);
    }
    addWheel(gear, tailWheel, tailWheelRadius, 0.08f);

    MeshBuilder mesh;
    body.emit(mesh, 50.0f);
    gear.emit(mesh, 50.0f);
    return mesh;
}
