#include "assets/Mesh.h"
#include "assets/TangentSpaceBuilder.h"

#include "assets/MeshTestFiles.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <cmath>
#include <limits>
#include <string>

using meshtest::MeshFiles;

namespace {

constexpr float tolerance = 1e-5f;

// A unit quad in the xy plane facing +z; uv(x, y) writes its texture coordinates.
std::string quadObj(const char* uv00, const char* uv10, const char* uv11, const char* uv01)
{
    return std::string("v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n") + "vt " + uv00 + "\nvt " + uv10 + "\nvt " + uv11 +
           "\nvt " + uv01 + "\nf 1/1 2/2 3/3 4/4\n";
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

bool isFinite(const glm::vec3& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z);
}

void expectValidFrame(const glm::vec3& normal, const glm::vec3& tangent, const glm::vec3& bitangent)
{
    ASSERT_TRUE(isFinite(tangent)) << tangent.x << " " << tangent.y << " " << tangent.z;
    ASSERT_TRUE(isFinite(bitangent)) << bitangent.x << " " << bitangent.y << " " << bitangent.z;
    EXPECT_NEAR(glm::length(tangent), 1.0f, tolerance);
    EXPECT_NEAR(glm::length(bitangent), 1.0f, tolerance);
    EXPECT_NEAR(glm::dot(tangent, normal), 0.0f, tolerance);
}

void loadWithTangents(Mesh& mesh, const MeshFiles& files, const std::string& obj)
{
    ASSERT_TRUE(mesh.loadMesh(files.model("quad.obj", obj), true));
    ASSERT_EQ(mesh.tangents.size(), mesh.vertexCount);
    ASSERT_EQ(mesh.bitangents.size(), mesh.vertexCount);
    ASSERT_EQ(mesh.vertexCount, 4u); // shared corners are joined when tangents are wanted
}

} // namespace

TEST(MeshTangents, TexCoordsAlongXyGiveTangentXAndBitangentY)
{
    MeshFiles files;
    Mesh mesh;
    loadWithTangents(mesh, files, quadObj("0 0", "1 0", "1 1", "0 1"));
    EXPECT_TRUE(mesh.withTangents);
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        SCOPED_TRACE(i);
        expectNear(mesh.vertices[i].normal, {0, 0, 1});
        expectNear(mesh.tangents[i], {1, 0, 0});
        expectNear(mesh.bitangents[i], {0, 1, 0});
    }
}

TEST(MeshTangents, MirroredUIsFlippedBackByHandedness)
{
    // The raw tangent points along -x; the frame is left-handed, so the
    // tangent is turned round while the bitangent keeps +y.
    MeshFiles files;
    Mesh mesh;
    loadWithTangents(mesh, files, quadObj("0 0", "-1 0", "-1 1", "0 1"));
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        SCOPED_TRACE(i);
        expectNear(mesh.tangents[i], {1, 0, 0});
        expectNear(mesh.bitangents[i], {0, 1, 0});
    }
}

TEST(MeshTangents, MirroredVFlipsTheTangentNotTheBitangent)
{
    MeshFiles files;
    Mesh mesh;
    loadWithTangents(mesh, files, quadObj("0 0", "1 0", "1 -1", "0 -1"));
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        SCOPED_TRACE(i);
        expectNear(mesh.tangents[i], {-1, 0, 0});
        expectNear(mesh.bitangents[i], {0, -1, 0});
    }
}

TEST(MeshTangents, WithoutTexCoordsEveryVertexStillGetsAUnitTangent)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("bare.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n"), true));
    ASSERT_EQ(mesh.tangents.size(), mesh.vertexCount);
    ASSERT_GT(mesh.vertexCount, 0u);
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        SCOPED_TRACE(i);
        expectValidFrame(mesh.vertices[i].normal, mesh.tangents[i], mesh.bitangents[i]);
    }
}

TEST(MeshTangents, DegenerateTriangleAddsNothingToItsNeighbours)
{
    // u runs along +y and v along -x, so the good triangle (corners 1, 2, 3)
    // gives a frame unlike the fallback's. The second triangle (corners 1, 3,
    // 4) has collinear texture coordinates.
    MeshFiles files;
    Mesh mesh;
    loadWithTangents(mesh, files, quadObj("0 0", "0 -1", "1 -1", "1 -1"));
    int shared = 0;
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        SCOPED_TRACE(i);
        const glm::vec4& position = mesh.vertices[i].position;
        expectValidFrame(mesh.vertices[i].normal, mesh.tangents[i], mesh.bitangents[i]);
        if (position.x == position.y) {
            // Corners 1 and 3 also belong to the good triangle.
            expectNear(mesh.tangents[i], {0, 1, 0});
            expectNear(mesh.bitangents[i], {-1, 0, 0});
            ++shared;
        }
    }
    EXPECT_EQ(shared, 2);
}

TEST(MeshTangents, EachSubMeshIsComputedAtItsOwnOffset)
{
    MeshFiles files;
    files.model("two.mtl", "newmtl a\nKd 1 1 1\nnewmtl b\nKd 1 1 1\n");
    const std::string obj = "mtllib two.mtl\n"
                            "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                            "v 5 0 0\nv 6 0 0\nv 6 1 0\nv 5 1 0\n"
                            "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\nvt 1 -1\nvt 0 -1\n"
                            "usemtl a\nf 1/1 2/2 3/3 4/4\n"
                            "usemtl b\nf 5/1 6/2 7/5 8/6\n";
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("pair.obj", obj), true));
    ASSERT_EQ(mesh.entries.size(), 2u);
    ASSERT_EQ(mesh.tangents.size(), mesh.vertexCount);
    for (std::uint32_t i = 0; i < mesh.vertexCount; ++i) {
        SCOPED_TRACE(i);
        bool secondQuad = mesh.vertices[i].position.x >= 5.0f;
        expectNear(mesh.tangents[i], {secondQuad ? -1.0f : 1.0f, 0, 0});
        expectNear(mesh.bitangents[i], {0, secondQuad ? -1.0f : 1.0f, 0});
    }
}

TEST(MeshTangents, TangentsFromTheFileAreTakenAsTheyAre)
{
    MeshFiles files;
    meshtest::SceneContents contents;
    contents.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    contents.normals = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    contents.tangents = {{0.5f, 0, 0}, {0.5f, 0, 0}, {0.5f, 0, 0}};
    contents.bitangents = {{0, 0, 3}, {0, 0, 3}, {0, 0, 3}};
    contents.triangleIndices = {0, 1, 2};
    const std::string path = files.modelPath("tangents.assbin");
    ASSERT_TRUE(meshtest::writeAssbin(path, contents));

    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(path, true));
    ASSERT_EQ(mesh.tangents.size(), 3u);
    ASSERT_EQ(mesh.bitangents.size(), 3u);
    for (std::uint32_t i = 0; i < 3; ++i) {
        EXPECT_EQ(mesh.tangents[i], glm::vec3(0.5f, 0, 0));
        EXPECT_EQ(mesh.bitangents[i], glm::vec3(0, 0, 3));
    }

    Mesh without;
    ASSERT_TRUE(without.loadMesh(path, false));
    EXPECT_TRUE(without.tangents.empty());
    EXPECT_TRUE(without.bitangents.empty());
}

TEST(MeshTangents, WithoutTangentsNothingIsComputedOrUploaded)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("quad.obj", quadObj("0 0", "1 0", "1 1", "0 1")), false));
    EXPECT_FALSE(mesh.withTangents);
    EXPECT_TRUE(mesh.tangents.empty());
    EXPECT_TRUE(mesh.bitangents.empty());

    // A shader that never reached the GL: the call must return before any GL call.
    ScratchDir scratch;
    testing::internal::CaptureStderr();
    Shader shader((scratch.path() / "absent").string());
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(mesh.uploadTangentBuffers(1, 2, shader));
}

TEST(TangentSpaceBuilder, OrthogonalisesTheTangentButOnlyNormalisesTheBitangent)
{
    glm::vec3 tangent(2, 0, 2);
    glm::vec3 bitangent(0, 2, 1);
    TangentSpaceBuilder::orthonormalise({0, 0, 1}, tangent, bitangent);
    expectNear(tangent, {1, 0, 0});
    expectNear(bitangent, glm::normalize(glm::vec3(0, 2, 1)));
}

TEST(TangentSpaceBuilder, UnusableSumsStillGiveAUnitFramePerpendicularToTheNormal)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const glm::vec3 normals[] = {{0, 0, 1}, {1, 0, 0}, glm::normalize(glm::vec3(1, 2, 3))};
    const glm::vec3 sums[] = {{0, 0, 0}, {nan, 0, 0}, {inf, 1, 0}, {1e-30f, 0, 0}};
    for (const glm::vec3& normal : normals) {
        for (const glm::vec3& sum : sums) {
            glm::vec3 tangent = sum;
            glm::vec3 bitangent = sum;
            TangentSpaceBuilder::orthonormalise(normal, tangent, bitangent);
            expectValidFrame(normal, tangent, bitangent);
        }
        // A tangent along the normal has nothing left once the normal's share is removed.
        glm::vec3 tangent = normal * 3.0f;
        glm::vec3 bitangent(0.0f);
        TangentSpaceBuilder::orthonormalise(normal, tangent, bitangent);
        expectValidFrame(normal, tangent, bitangent);
    }
}

TEST(TangentSpaceBuilder, VertexWithoutANormalStillGetsFiniteVectors)
{
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (const glm::vec3& normal : {glm::vec3(0.0f), glm::vec3(nan)}) {
        glm::vec3 tangent(0.0f);
        glm::vec3 bitangent(0.0f);
        TangentSpaceBuilder::orthonormalise(normal, tangent, bitangent);
        EXPECT_TRUE(isFinite(tangent));
        EXPECT_TRUE(isFinite(bitangent));
        EXPECT_NEAR(glm::length(tangent), 1.0f, tolerance);
        EXPECT_NEAR(glm::length(bitangent), 1.0f, tolerance);
    }
}

TEST(TangentSpaceBuilder, ZeroAreaTriangleIsSkipped)
{
    MeshVertex vertices[3];
    vertices[1].position = glm::vec4(1, 0, 0, 1);
    vertices[2].position = glm::vec4(0, 1, 0, 1);
    vertices[1].texCoord = glm::vec2(1, 1);
    vertices[2].texCoord = glm::vec2(2, 2);
    glm::vec3 tangents[3]{};
    glm::vec3 bitangents[3]{};
    TangentSpaceBuilder builder(vertices, tangents, bitangents);
    builder.addTriangle(0, 1, 2);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(tangents[i], glm::vec3(0.0f));
        EXPECT_EQ(bitangents[i], glm::vec3(0.0f));
    }
}
