#include "assets/Mesh.h"
#include "assets/MeshBounds.h"

#include "assets/MeshTestFiles.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <array>
#include <cmath>
#include <string>

using meshtest::MeshFiles;

namespace {

void expectVec3(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.z, expected.z);
}

void expectFootprintUnset(const BoundingBox& box)
{
    for (const glm::vec4& corner : box.footprint) {
        EXPECT_EQ(corner, glm::vec4(0.0f));
    }
}

MeshVertex at(float x, float y, float z)
{
    MeshVertex vertex;
    vertex.position = glm::vec4(x, y, z, 1.0f);
    return vertex;
}

// A triangle in the plane x = 2, then a triangle that is flat in z only.
const std::string flatPiecesObj = R"(v 2 0 0
v 2 1 0
v 2 0 1
v 5 3 4
v 7 3 4
v 5 6 4
o flatInX
f 1 2 3
o flatInZ
f 4 5 6
)";

} // namespace

TEST(MeshBounds, BoxAndSphereOfAVertexRun)
{
    std::array<MeshVertex, 3> vertices{at(-1, 0, 2), at(3, 4, -2), at(0, 1, 0)};
    MeshBounds bounds = MeshBounds::of(vertices);
    expectVec3(bounds.box.upper, {3, 4, 2});
    expectVec3(bounds.box.lower, {-1, 0, -2});
    expectFootprintUnset(bounds.box);
    EXPECT_EQ(bounds.sphere.modelCentre, glm::vec4(1, 2, 0, 1));
    expectVec3(bounds.sphere.worldCentre, {1, 2, 0});
    EXPECT_FLOAT_EQ(bounds.sphere.radius, std::sqrt(12.0f));
}

TEST(MeshBounds, EmptyRunKeepsTheStartingCorners)
{
    MeshBounds bounds = MeshBounds::of({});
    expectVec3(bounds.box.upper, glm::vec3(-10000000.0f));
    expectVec3(bounds.box.lower, glm::vec3(10000000.0f));
}

TEST(MeshBounds, ThinBoxWidensXAndZButNotY)
{
    MeshBounds bounds;
    bounds.box = BoundingBox({2.0f, 5.0f, 3.005f}, {2.0f, 5.0f, 3.0f});
    bounds.widenThinBox();
    EXPECT_FLOAT_EQ(bounds.box.lower.x, 3.0f);
    EXPECT_FLOAT_EQ(bounds.box.lower.z, 4.0f);
    EXPECT_FLOAT_EQ(bounds.box.lower.y, 5.0f);
    expectVec3(bounds.box.upper, {2.0f, 5.0f, 3.005f});

    // A few hundredths apart is already wide enough.
    MeshBounds wide;
    wide.box = BoundingBox({1.0f, 0.0f, 1.0f}, {0.96875f, 0.0f, 0.0f});
    wide.widenThinBox();
    EXPECT_FLOAT_EQ(wide.box.lower.x, 0.96875f);
    EXPECT_FLOAT_EQ(wide.box.lower.z, 0.0f);
}

TEST(MeshBounds, FlatSubMeshGetsAWidenedEntryBox)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("flat.obj", flatPiecesObj), false));
    ASSERT_EQ(mesh.entries.size(), 2u);

    const MeshEntity& flatInX = mesh.entries[0];
    expectVec3(flatInX.box.upper, {2, 1, 1});
    expectVec3(flatInX.box.lower, {3, 0, 0});
    expectFootprintUnset(flatInX.box);
    // The sphere is taken before widening.
    EXPECT_EQ(flatInX.sphere.modelCentre, glm::vec4(2, 0.5f, 0.5f, 1));
    expectVec3(flatInX.sphere.worldCentre, {2, 0.5f, 0.5f});
    EXPECT_FLOAT_EQ(flatInX.sphere.radius, std::sqrt(0.5f));

    const MeshEntity& flatInZ = mesh.entries[1];
    expectVec3(flatInZ.box.upper, {7, 6, 4});
    expectVec3(flatInZ.box.lower, {5, 3, 5});
    EXPECT_EQ(flatInZ.sphere.modelCentre, glm::vec4(6, 4.5f, 4, 1));
    EXPECT_FLOAT_EQ(flatInZ.sphere.radius, std::sqrt(1.0f + 2.25f));
}

TEST(MeshBounds, ModelBoxSpansAllSubMeshesWithoutWidening)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("flat.obj", flatPiecesObj), false));
    expectVec3(mesh.boundingBox.upper, {7, 6, 4});
    expectVec3(mesh.boundingBox.lower, {2, 0, 0});
    expectFootprintUnset(mesh.boundingBox);
    EXPECT_EQ(mesh.boundingSphere.modelCentre, glm::vec4(4.5f, 3, 2, 1));
    expectVec3(mesh.boundingSphere.worldCentre, {4.5f, 3, 2});
    EXPECT_FLOAT_EQ(mesh.boundingSphere.radius, std::sqrt(2.5f * 2.5f + 9.0f + 4.0f));
}

TEST(MeshBounds, FlatModelKeepsItsFlatModelBox)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("wall.obj", "v 2 0 0\nv 2 1 0\nv 2 0 1\nf 1 2 3\n"), false));
    ASSERT_EQ(mesh.entries.size(), 1u);
    EXPECT_FLOAT_EQ(mesh.boundingBox.lower.x, 2.0f);
    EXPECT_FLOAT_EQ(mesh.boundingBox.upper.x, 2.0f);
    EXPECT_FLOAT_EQ(mesh.entries[0].box.lower.x, 3.0f);
}
