#include "assets/Mesh.h"

#include "assets/MeshTestFiles.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <cmath>
#include <set>
#include <string>

using meshtest::MeshFiles;
using meshtest::printedBy;

namespace {

// A red quad (two triangles) and a green triangle, in that order in the file.
const std::string twoMaterialsObj = R"(mtllib two.mtl
v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 3 0 0
v 4 0 0
v 4 0 1
vt 0 0
vt 1 0
vt 1 1
vt 0 1
vt 0.25 0.75
usemtl red
f 1/1 2/2 3/3 4/4
usemtl green
f 5/1 6/2 7/5
)";

const std::string twoMaterialsMtl = R"(newmtl red
Kd 1 0 0
newmtl green
Kd 0 1 0
)";

void expectVec3(const glm::vec3& actual, const glm::vec3& expected)
{
    EXPECT_FLOAT_EQ(actual.x, expected.x);
    EXPECT_FLOAT_EQ(actual.y, expected.y);
    EXPECT_FLOAT_EQ(actual.z, expected.z);
}

void expectEmpty(const Mesh& mesh)
{
    EXPECT_TRUE(mesh.vertices.empty());
    EXPECT_TRUE(mesh.indices.empty());
    EXPECT_TRUE(mesh.entries.empty());
    EXPECT_TRUE(mesh.materialTextures.empty());
    EXPECT_TRUE(mesh.tangents.empty());
    EXPECT_TRUE(mesh.bitangents.empty());
    EXPECT_EQ(mesh.vertexCount, 0u);
    EXPECT_EQ(mesh.indexCount, 0u);
    EXPECT_EQ(mesh.entryCount, 0u);
}

std::set<std::uint32_t> indicesOf(const Mesh& mesh, const MeshEntity& entry)
{
    return {mesh.indices.begin() + entry.baseIndex, mesh.indices.begin() + entry.baseIndex + entry.numIndices};
}

} // namespace

TEST(MeshImport, NewMeshIsEmpty)
{
    Mesh mesh;
    expectEmpty(mesh);
    EXPECT_FALSE(mesh.withTangents);
}

TEST(MeshImport, SecondSubMeshFollowsTheFirstInBothArrays)
{
    MeshFiles files;
    files.model("two.mtl", twoMaterialsMtl);
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("two.obj", twoMaterialsObj), false));

    ASSERT_EQ(mesh.entryCount, 2u);
    ASSERT_EQ(mesh.entries.size(), 2u);
    const MeshEntity& quad = mesh.entries[0];
    const MeshEntity& triangle = mesh.entries[1];
    EXPECT_EQ(quad.baseIndex, 0u);
    EXPECT_EQ(quad.numIndices, 6u);
    EXPECT_EQ(triangle.baseIndex, quad.numIndices);
    EXPECT_EQ(triangle.numIndices, 3u);
    EXPECT_EQ(mesh.indexCount, 9u);
    EXPECT_EQ(mesh.indices.size(), 9u);
    EXPECT_EQ(mesh.vertexCount, mesh.vertices.size());

    // The quad's vertices come first; the triangle's indices are offset past them.
    std::set<std::uint32_t> quadIndices = indicesOf(mesh, quad);
    std::set<std::uint32_t> triangleIndices = indicesOf(mesh, triangle);
    std::uint32_t quadVertexCount = *quadIndices.rbegin() + 1;
    EXPECT_EQ(*quadIndices.begin(), 0u);
    EXPECT_EQ(triangleIndices.size(), 3u);
    EXPECT_GE(*triangleIndices.begin(), quadVertexCount);
    EXPECT_LT(*triangleIndices.rbegin(), mesh.vertexCount);
    for (std::uint32_t index : triangleIndices) {
        EXPECT_GE(mesh.vertices[index].position.x, 3.0f);
    }

    EXPECT_NE(quad.materialIndex, triangle.materialIndex);
    EXPECT_LT(quad.materialIndex, mesh.materialTextures.size());
    EXPECT_LT(triangle.materialIndex, mesh.materialTextures.size());
}

TEST(MeshImport, VerticesCarryTheirMaterialsDiffuseColourAndUnflippedTexCoords)
{
    MeshFiles files;
    files.model("two.mtl", twoMaterialsMtl);
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("two.obj", twoMaterialsObj), false));
    ASSERT_EQ(mesh.entries.size(), 2u);

    for (std::uint32_t index : indicesOf(mesh, mesh.entries[0])) {
        expectVec3(mesh.vertices[index].color, {1.0f, 0.0f, 0.0f});
    }
    for (std::uint32_t index : indicesOf(mesh, mesh.entries[1])) {
        expectVec3(mesh.vertices[index].color, {0.0f, 1.0f, 0.0f});
    }
    int checked = 0;
    for (const MeshVertex& vertex : mesh.vertices) {
        EXPECT_FLOAT_EQ(vertex.position.w, 1.0f);
        if (vertex.position == glm::vec4(1.0f, 1.0f, 0.0f, 1.0f)) {
            EXPECT_EQ(vertex.texCoord, glm::vec2(1.0f, 1.0f));
            ++checked;
        }
        if (vertex.position == glm::vec4(4.0f, 0.0f, 1.0f, 1.0f)) {
            EXPECT_EQ(vertex.texCoord, glm::vec2(0.25f, 0.75f));
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2);
}

TEST(MeshImport, SmoothNormalsAreGeneratedWhenTheFileHasNone)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), false));
    ASSERT_EQ(mesh.vertices.size(), 3u);
    for (const MeshVertex& vertex : mesh.vertices) {
        expectVec3(vertex.normal, {0.0f, 0.0f, 1.0f});
    }
}

TEST(MeshImport, NoTextureCoordinatesGiveZero)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("plain.obj", "v 0 0 0\nv 1 0 0\nv 1 1 0\nf 1 2 3\n"), false));
    ASSERT_EQ(mesh.vertices.size(), 3u);
    for (const MeshVertex& vertex : mesh.vertices) {
        EXPECT_EQ(vertex.texCoord, glm::vec2(0.0f));
    }
}

TEST(MeshImport, MaterialWithoutAColourGivesBlack)
{
    MeshFiles files;
    meshtest::SceneContents contents;
    contents.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}};
    contents.triangleIndices = {0, 1, 2};
    const std::string path = files.modelPath("colourless.assbin");
    ASSERT_TRUE(meshtest::writeAssbin(path, contents));

    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(path, false));
    ASSERT_EQ(mesh.vertices.size(), 3u);
    for (const MeshVertex& vertex : mesh.vertices) {
        expectVec3(vertex.color, {0.0f, 0.0f, 0.0f});
    }
}

TEST(MeshImport, PointsAndLinesAreNotDrawn)
{
    MeshFiles files;
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\n"
                            "f 1 2 3\nl 1 3\np 4\nf 1 3 4\n";
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("mixed.obj", obj), false));
    ASSERT_EQ(mesh.entries.size(), 1u);
    EXPECT_EQ(mesh.entries[0].numIndices, 6u);
    EXPECT_EQ(mesh.indexCount, 6u);
    EXPECT_EQ(mesh.indices.size(), 6u);
    for (std::uint32_t index : mesh.indices) {
        EXPECT_LT(index, mesh.vertexCount);
    }
}

TEST(MeshImport, MissingFileIsReportedAndLeavesTheMeshEmpty)
{
    MeshFiles files;
    const std::string path = files.modelPath("nowhere.obj");
    Mesh mesh;
    bool loaded = true;
    std::string printed = printedBy([&] { loaded = mesh.loadMesh(path, true); });

    EXPECT_FALSE(loaded);
    const std::string prefix = "Error parsing '" + path + "': '";
    ASSERT_GT(printed.size(), prefix.size() + 2);
    EXPECT_EQ(printed.substr(0, prefix.size()), prefix);
    EXPECT_EQ(printed.substr(printed.size() - 2), "'\n");
    EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
    expectEmpty(mesh);
}

TEST(MeshImport, UnreadableFilesAreReportedAndLeaveTheMeshEmpty)
{
    MeshFiles files;
    for (const std::string& path : {files.model("empty.obj", ""),
                                    files.model("noise.bin", std::string("\x7f\x13\x00\xfe garbage \x01\x02", 16))}) {
        SCOPED_TRACE(path);
        Mesh mesh;
        bool loaded = true;
        std::string printed = printedBy([&] { loaded = mesh.loadMesh(path, false); });
        EXPECT_FALSE(loaded);
        EXPECT_EQ(printed.rfind("Error parsing '" + path + "': '", 0), 0u) << printed;
        expectEmpty(mesh);
    }
}

TEST(MeshImport, FailedReloadKeepsWhatWasLoaded)
{
    MeshFiles files;
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), false));
    printedBy([&] { EXPECT_FALSE(mesh.loadMesh(files.modelPath("gone.obj"), false)); });
    EXPECT_EQ(mesh.vertices.size(), 3u);
    EXPECT_EQ(mesh.indexCount, 3u);
    EXPECT_EQ(mesh.entryCount, 1u);
}

TEST(MeshImport, ReloadReplacesInsteadOfAppending)
{
    MeshFiles files;
    const std::string path = files.model("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(path, false));
    ASSERT_TRUE(mesh.loadMesh(path, false));
    EXPECT_EQ(mesh.vertices.size(), 3u);
    EXPECT_EQ(mesh.vertexCount, 3u);
    EXPECT_EQ(mesh.indexCount, 3u);
    EXPECT_EQ(mesh.entries.size(), 1u);
    EXPECT_EQ(mesh.materialTextures.size(), 1u);
    EXPECT_EQ(mesh.indices, (std::vector<std::uint32_t>{0, 1, 2}));
}
