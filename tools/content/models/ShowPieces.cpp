#include "common/Layout.h"
#include "common/ShapePrimitives.h"
#include "models/Models.h"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <vector>

// The relief torus, the brick wall and the armadillos' pedestal: simple
// shapes whose texture coordinates matter more than their outline.

MeshBuilder buildTorus()
{
    // Placed at y = 3 at half size while it tumbles: its outer radius 6.4
    // keeps it 0.2 above the floor at the lowest. The ring is four times the
    // tube's girth, so four repeats round it and one round the tube give
    // roughly square tiles of the relief.
    constexpr float ringRadius = 5.0f, tubeRadius = 1.4f;
    MeshBuilder mesh;
    mesh.useMaterial(makeMaterial("TorusStone", {0.78f, 0.72f, 0.64f}, 0.3f, 20.0f));
    mesh.addTorus(glm::vec3(0.0f), ringRadius, tubeRadius, 96, 48);
    return mesh;
}

MeshBuilder buildStoneWall()
{
    // Drawn without a placement, so it is made where it stands. One texture
    // repeat per 4 units: u along the wall, v up from the floor, the same
    // scale on the ends and the top so the bricks wrap round the edges.
    constexpr float repeatsPerUnit = 0.25f;
    MeshBuilder mesh;
    mesh.useMaterial(makeMaterial("Bricks", {0.74f, 0.46f, 0.36f}, 0.3f, 20.0f));
    mesh.addBox(layout::stoneWallLower, layout::stoneWallUpper, repeatsPerUnit);
    return mesh;
}

MeshBuilder buildPedestal()
{
    // Placed at y = -0.5 at double size: the plinth then meets the floor
    // (-0.1 here) and the top (0.25 here) is at y = 0, where the armadillos'
    // feet are. A stepped base, a fluted drum and a wide top slab.
    const std::vector<glm::vec2> base = {{0.0f, -0.1f},  {0.86f, -0.1f}, {0.86f, -0.06f}, {0.80f, -0.05f},
                                         {0.78f, -0.02f}, {0.70f, -0.01f}, {0.68f, 0.0f},  {0.0f, 0.0f}};
    const std::vector<glm::vec2> top = {{0.0f, 0.19f},  {0.68f, 0.19f}, {0.72f, 0.2f},  {0.76f, 0.21f},
                                        {0.76f, 0.245f}, {0.74f, 0.25f}, {0.0f, 0.25f}};
    Shape stone;
    stone.useMaterial(makeMaterial("Marble", {0.86f, 0.84f, 0.80f}, 0.5f, 80.0f));
    primitives::addLathe(stone, base, 64);
    primitives::addLathe(stone, top, 64);
    Shape drum;
    drum.useMaterial(makeMaterial("MarbleDrum", {0.80f, 0.78f, 0.74f}, 0.5f, 80.0f));
    // Twenty-four flutes: the radius dips between ridges.
    constexpr int flutes = 24, perFlute = 4;
    drum.addGrid(flutes * perFlute, 4, [&](int i, int j) {
        float angle = glm::two_pi<float>() * (i % (flutes * perFlute)) / (flutes * perFlute);
        float radius = 0.6f - 0.025f * std::abs(std::sin(angle * flutes * 0.5f));
        float y = -0.005f + 0.2f * j / 4;
        return Shape::Corner{{radius * std::sin(angle), y, radius * std::cos(angle)}, {0.0f, 0.0f}};
    });
    MeshBuilder mesh;
    stone.emit(mesh, 40.0f);
    drum.emit(mesh, 40.0f);
    return mesh;
}

MeshBuilder buildGem(const glm::vec3& colour, const char* name, int facets)
{
    // A cut stone stood on its point: placed at y = 0 over a floor at -0.7,
    // the point at -0.6 keeps it just clear while it spins. Rings of corners,
    // every other one turned by half a step, make the facets of a brilliant;
    // the normals stay flat so every face catches the light on its own.
    struct Ring {
        float radius, y, turn; // turn in steps of the facet angle
    };
    const Ring rings[] = {{0.0f, -0.6f, 0.0f},   {0.30f, -0.27f, 0.5f}, {0.48f, 0.0f, 0.0f}, {0.48f, 0.08f, 0.0f},
                          {0.39f, 0.25f, 0.5f},  {0.26f, 0.37f, 0.0f},  {0.0f, 0.37f, 0.0f}};
    constexpr int ringCount = sizeof rings / sizeof rings[0];
    Shape gem;
    gem.useMaterial(makeMaterial(name, colour, 0.95f, 250.0f));
    gem.addGrid(facets, ringCount - 1, [&](int i, int j) {
        const Ring& r = rings[j];
        float angle = glm::two_pi<float>() * (float(i % facets) + r.turn) / facets;
        return Shape::Corner{{r.radius * std::sin(angle), r.y, r.radius * std::cos(angle)},
                             {float(i) / facets, float(j) / (ringCount - 1)}};
    });
    MeshBuilder mesh;
    gem.emit(mesh, 5.0f);
    return mesh;
}
