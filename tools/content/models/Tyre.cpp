#include "common/ShapePrimitives.h"
#include "models/Models.h"

#include <glm/gtc/constants.hpp>
#include <glm/gtc/matrix_transform.hpp>

// One wheel for all eight: centred on its origin, turning about x, radius
// 0.41 at the tops of the tread blocks, 0.3 wide. The blocks stand out of the
// rubber so that rolling shows even without a texture.
namespace {
constexpr float outerRadius = 0.41f, halfWidth = 0.15f;
constexpr float carcassRadius = 0.375f; // the rubber between the blocks
constexpr int blocksPerRow = 20;

// Lathes turn round y; the wheel turns round x.
glm::mat4 axleAlongX()
{
    return glm::rotate(glm::mat4(1.0f), glm::radians(-90.0f), glm::vec3(0, 0, 1));
}

void addCarcass(Shape& shape)
{
    shape.pushTransform(axleAlongX());
    primitives::addLathe(shape,
                         {{0.25f, -0.135f}, {0.32f, -halfWidth}, {0.36f, -0.145f}, {carcassRadius, -0.125f},
                          {carcassRadius, 0.125f}, {0.36f, 0.145f}, {0.32f, halfWidth}, {0.25f, 0.135f}},
                         64);
    shape.popTransform();
}

// Two staggered rows of blocks with a groove down the middle.
void addTread(Shape& shape)
{
    shape.pushTransform(axleAlongX());
    float pitch = glm::two_pi<float>() / blocksPerRow;
    for (int row = 0; row < 2; ++row) {
        float inner = row == 0 ? -0.14f : 0.012f, outer = row == 0 ? -0.012f : 0.14f;
        for (int k = 0; k < blocksPerRow; ++k) {
            float start = pitch * (k + 0.5f * row);
            primitives::addLathe(shape,
                                 {{carcassRadius - 0.01f, inner}, {outerRadius, inner}, {outerRadius, outer},
                                  {carcassRadius - 0.01f, outer}, {carcassRadius - 0.01f, inner}},
                                 3, start, start + 0.62f * pitch);
        }
    }
    shape.popTransform();
}

void addHub(Shape& shape)
{
    shape.pushTransform(axleAlongX());
    // Rim: a barrel with a lip on each side.
    primitives::addLathe(shape,
                         {{0.245f, -0.14f}, {0.27f, -0.14f}, {0.27f, -0.125f}, {0.255f, -0.12f}, {0.255f, 0.12f},
                          {0.27f, 0.125f}, {0.27f, 0.14f}, {0.245f, 0.14f}, {0.245f, -0.14f}},
                         48);
    // Hub with a domed cap on each face.
    primitives::addLathe(shape,
                         {{0.0f, -0.115f}, {0.04f, -0.11f}, {0.07f, -0.09f}, {0.075f, -0.06f}, {0.075f, 0.06f},
                          {0.07f, 0.09f}, {0.04f, 0.11f}, {0.0f, 0.115f}},
                         24);
    shape.popTransform();
    // Five spokes on each face, from the hub out to the barrel.
    for (float side : {-1.0f, 1.0f}) {
        for (int k = 0; k < 5; ++k) {
            float angle = glm::two_pi<float>() * k / 5;
            glm::vec3 dir(0.0f, std::cos(angle), std::sin(angle));
            glm::vec3 axial(side * 0.075f, 0, 0);
            primitives::addTube(shape, {axial + dir * 0.06f, axial * 1.1f + dir * 0.25f}, 0.024f, 8);
        }
    }
}
} // namespace

MeshBuilder buildTyre()
{
    Shape tread, hub;
    tread.useMaterial(makeMaterial("Tread", {0.12f, 0.12f, 0.13f}, 0.1f, 10.0f));
    addCarcass(tread);
    addTread(tread);
    hub.useMaterial(makeMaterial("Hub", {0.80f, 0.82f, 0.85f}, 0.9f, 120.0f));
    addHub(hub);
    MeshBuilder mesh;
    tread.emit(mesh, 45.0f);
    hub.emit(mesh, 45.0f);
    return mesh;
}
