#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <cmath>
#include <string>

using assettest::AssetFolder;

namespace {

constexpr float tolerance = 1e-5f;

// A unit quad in the xy plane facing +z, from x = left, with the given
// texture coordinates at (0, 0), (1, 0), (1, 1) and (0, 1).
std::string quadObj(int left, const char* uv00, const char* uv10, const char* uv11, const char* uv01)
{
    const std::string x0 = std::to_string(left);
    const std::string x1 = std::to_string(left + 1);
    return "v " + x0 + " 0 0\nv " + x1 + " 0 0\nv " + x1 + " 1 0\nv " + x0 + " 1 0\n" + "vt " + uv00 + "\nvt " +
           uv10 + "\nvt " + uv11 + "\nvt " + uv01 + "\n";
}

void expectNear(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_NEAR(actual.x, expected.x, tolerance);
    EXPECT_NEAR(actual.y, expected.y, tolerance);
    EXPECT_NEAR(actual.z, expected.z, tolerance);
}

// Finite unit tangent and bitangent, the tangent orthogonal to the normal.
void expectValidFrame(const Mesh& mesh, std::uint32_t vertex)
{
    const glm::vec3& tangent = mesh.tangents[vertex];
    const glm::vec3& bitangent = mesh.bitangents[vertex];
    ASSERT_TRUE(std::isfinite(tangent.x) && std::isfinite(tangent.y) && std::isfinite(tangent.z));
    ASSERT_TRUE(std::isfinite(bitangent.x) && std::isfinite(bitangent.y) && std::isfinite(bitangent.z));
    EXPECT_NEAR(glm::length(tangent), 1.0f, tolerance);
    EXPECT_NEAR(glm::length(bitangent), 1.0f, tolerance);
    EXPECT_NEAR(glm::dot(tangent, mesh.vertices[vertex].normal), 0.0f, tolerance);
}

} // namespace

TEST(MeshTangents, TexturedQuadsGetFramesOfTheRightHandednessAtTheirOwnOffsets)
{
    // Three sub-meshes: plain texture coordinates, u mirrored (the raw
    // tangent points along -x, the frame is left-handed, so the tangent is
    // turned round) and v mirrored (the tangent flips, not the bitangent).
    AssetFolder files;
    files.write("three.mtl", "newmtl a\nKd 1 1 1\nnewmtl b\nKd 1 1 1\nnewmtl c\nKd 1 1 1\n");
    const std::string obj = "mtllib three.mtl\n" + quadObj(0, "0 0", "1 0", "1 1", "0 1") +
                            quadObj(5, "0 0", "-1 0", "-1 1", "0 1") + quadObj(10, "0 0", "1 0", "1 -1", "0 -1") +
                            "usemtl a\nf 1/1 2/2 3/3 4/4\nusemtl b\nf 5/5 6/6 7/7 8/8\n"
                            "usemtl c\nf 9/9 10/10 11/11 12/12\n";
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.write("quads.obj", obj), true));
    EXPECT_TRUE(mesh.withTangents);
    ASSERT_EQ(mesh.entries.size(), 3u);
    ASSERT_EQ(mesh.tangents.size(), mesh.vertices.size());
    ASSERT_EQ(mesh.bitangents.size(), mesh.vertices.size());
    for (std::uint32_t i = 0; i < mesh.vertices.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "vertex " << i);
        const float sign = mesh.vertices[i].position.x >= 10.0f ? -1.0f : 1.0f;
        expectNear(mesh.vertices[i].normal, {0, 0, 1});
        expectValidFrame(mesh, i);
        expectNear(mesh.tangents[i], {sign, 0, 0});
        expectNear(mesh.bitangents[i], {0, sign, 0});
    }
}

TEST(MeshTangents, MissingOrDegenerateTexCoordsGiveNoNaN)
{
    // The degenerate quad's first triangle (corners 1, 2, 3) has u along +y
    // and v along -x; its second (corners 1, 3, 4) has collinear texture
    // coordinates and must add nothing to the corners it shares.
    AssetFolder files;
    const std::string bare = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3 4\n";
    const std::string degenerate = quadObj(0, "0 0", "0 -1", "1 -1", "1 -1") + "f 1/1 2/2 3/3 4/4\n";
    for (const std::string& obj : {bare, degenerate}) {
        SCOPED_TRACE(obj);
        Mesh mesh;
        ASSERT_TRUE(mesh.loadMesh(files.write("quad.obj", obj), true));
        ASSERT_EQ(mesh.tangents.size(), mesh.vertices.size());
        ASSERT_GT(mesh.vertices.size(), 0u);
        for (std::uint32_t i = 0; i < mesh.vertices.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "vertex " << i);
            expectValidFrame(mesh, i);
            const glm::vec4& position = mesh.vertices[i].position;
            if (obj == degenerate && position.x == position.y) {
                expectNear(mesh.tangents[i], {0, 1, 0});
                expectNear(mesh.bitangents[i], {-1, 0, 0});
            }
        }
    }
}
