#include "assets/Mesh.h"
#include "assets/TextureManager.h"

#include "support/AssetFiles.h"
#include "support/GLTestContext.h"
#include "support/GlmNear.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <set>
#include <string>
#include <vector>

using assettest::AssetFolder;
using testsupport::near;

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

// Two triangles in two materials, as a wheel model carries tread and hub.
const char* const twoMaterialsCollada = R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <library_effects>
    <effect id="tread-fx"><profile_COMMON><technique sid="common"><phong>
      <diffuse><color>0 0 1 1</color></diffuse></phong></technique></profile_COMMON></effect>
    <effect id="hub-fx"><profile_COMMON><technique sid="common"><phong>
      <diffuse><color>0 1 0 1</color></diffuse></phong></technique></profile_COMMON></effect>
  </library_effects>
  <library_materials>
    <material id="tread"><instance_effect url="#tread-fx"/></material>
    <material id="hub"><instance_effect url="#hub-fx"/></material>
  </library_materials>
  <library_geometries><geometry id="wheel"><mesh>
    <source id="pos"><float_array id="pos-array" count="18">0 0 0  1 0 0  0 1 0  0 0 1  1 0 1  0 1 1</float_array>
      <technique_common><accessor source="#pos-array" count="6" stride="3">
        <param name="X" type="float"/><param name="Y" type="float"/><param name="Z" type="float"/>
      </accessor></technique_common></source>
    <vertices id="vtx"><input semantic="POSITION" source="#pos"/></vertices>
    <triangles material="tread" count="1"><input semantic="VERTEX" source="#vtx" offset="0"/><p>0 1 2</p></triangles>
    <triangles material="hub" count="1"><input semantic="VERTEX" source="#vtx" offset="0"/><p>3 4 5</p></triangles>
  </mesh></geometry></library_geometries>
  <library_visual_scenes><visual_scene id="scene"><node id="wheel-node">
    <instance_geometry url="#wheel"><bind_material><technique_common>
      <instance_material symbol="tread" target="#tread"/><instance_material symbol="hub" target="#hub"/>
    </technique_common></bind_material></instance_geometry>
  </node></visual_scene></library_visual_scenes>
  <scene><instance_visual_scene url="#scene"/></scene>
</COLLADA>
)";

std::vector<std::uint32_t> indicesOf(const Mesh& mesh, const MeshEntity& entry)
{
    return {mesh.indices.begin() + entry.baseIndex, mesh.indices.begin() + entry.baseIndex + entry.numIndices};
}

// A unit quad in the xy plane facing +z, from x = left, with the given
// texture coordinates at (0, 0), (1, 0), (1, 1) and (0, 1).
std::string quadObj(int left, const char* uv00, const char* uv10, const char* uv11, const char* uv01)
{
    const std::string x0 = std::to_string(left);
    const std::string x1 = std::to_string(left + 1);
    return "v " + x0 + " 0 0\nv " + x1 + " 0 0\nv " + x1 + " 1 0\nv " + x0 + " 1 0\n" + "vt " + uv00 + "\nvt " +
           uv10 + "\nvt " + uv11 + "\nvt " + uv01 + "\n";
}

// Finite unit tangent and bitangent, the tangent orthogonal to the normal.
void expectValidFrame(const Mesh& mesh, std::uint32_t vertex)
{
    const glm::vec3& tangent = mesh.tangents[vertex];
    const glm::vec3& bitangent = mesh.bitangents[vertex];
    EXPECT_NEAR(glm::length(tangent), 1.0f, 1e-5f) << glm::to_string(tangent);
    EXPECT_NEAR(glm::length(bitangent), 1.0f, 1e-5f) << glm::to_string(bitangent);
    EXPECT_NEAR(glm::dot(tangent, mesh.vertices[vertex].normal), 0.0f, 1e-5f);
}

} // namespace

// Both formats the program loads: the sub-meshes' vertices and indices follow
// each other in the shared arrays, each slice naming only its own vertices,
// all of one material's colour (the Collada importer may order them either way).
TEST(MeshImport, SubMeshesFollowEachOtherInBothArraysWithTheirColours)
{
    AssetFolder files;
    files.write("two.mtl", "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n");
    for (const std::string& path : {files.write("two.obj", twoMaterialsObj), files.write("tyre.DAE", twoMaterialsCollada)}) {
        SCOPED_TRACE(path);
        Mesh mesh;
        bool loaded = false;
        printedBy([&] { loaded = mesh.loadMesh(path, false); });
        ASSERT_TRUE(loaded);
        ASSERT_EQ(mesh.entries.size(), 2u);
        EXPECT_EQ(mesh.entries[1].baseIndex, mesh.entries[0].numIndices);
        EXPECT_EQ(mesh.indices.size(), mesh.entries[0].numIndices + mesh.entries[1].numIndices);
        const std::vector<std::uint32_t> first = indicesOf(mesh, mesh.entries[0]);
        const std::vector<std::uint32_t> second = indicesOf(mesh, mesh.entries[1]);
        EXPECT_GT(*std::min_element(second.begin(), second.end()), *std::max_element(first.begin(), first.end()));
        EXPECT_LT(*std::max_element(second.begin(), second.end()), mesh.vertices.size());
        std::set<float> greens;
        for (const auto* slice : {&first, &second}) {
            const glm::vec3 colour = mesh.vertices[slice->front()].color;
            for (std::uint32_t index : *slice) {
                EXPECT_TRUE(near(mesh.vertices[index].color, colour, 1e-4f)) << "vertex " << index;
            }
            greens.insert(colour.g);
        }
        EXPECT_EQ(greens, (std::set<float>{0.0f, 1.0f})) << "one entry per material";
    }
    // The OBJ's order is the file's, and texture coordinates are taken unflipped.
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.path("two.obj"), false));
    EXPECT_EQ(mesh.entries[0].numIndices, 6u);
    EXPECT_EQ(mesh.vertices[mesh.indices[0]].color, glm::vec3(1, 0, 0));
    for (const MeshVertex& vertex : mesh.vertices) {
        if (vertex.position == glm::vec4(4, 0, 1, 1)) {
            EXPECT_EQ(vertex.texCoord, glm::vec2(0.25f, 0.75f));
        }
    }
}

TEST(MeshImport, BareFacesGetNormalsZeroTexCoordsAndNoPointsOrLines)
{
    AssetFolder files;
    Mesh mesh;
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nl 1 3\np 4\nf 1 3 4\n";
    ASSERT_TRUE(mesh.loadMesh(files.write("bare.obj", obj), false));
    ASSERT_EQ(mesh.entries.size(), 1u);
    EXPECT_EQ(mesh.indices.size(), 6u);
    for (const MeshVertex& vertex : mesh.vertices) {
        EXPECT_EQ(vertex.texCoord, glm::vec2(0.0f));
        EXPECT_TRUE(near(vertex.normal, glm::vec3(0, 0, 1), 1e-6f));
    }
}

TEST(MeshImport, MissingTextureFallsBackToWhiteWithItsMessage)
{
    GL_TEST_SETUP(context);
    AssetFolder files;
    ASSERT_TRUE(files.texture("white.png") && files.texture("brick.png"));
    // Material "plain" has no texture, "lost" names a file that does not exist.
    files.write("textured.mtl", "newmtl plain\nKd 1 1 1\n"
                                "newmtl lost\nKd 1 1 1\nmap_Kd lost.png\n"
                                "newmtl brick\nKd 1 1 1\nmap_Kd brick.png\n");
    const std::string obj = "mtllib textured.mtl\nv 0 0 0\nv 1 0 0\nv 0 1 0\n"
                            "usemtl plain\nf 1 2 3\nusemtl lost\nf 1 2 3\nusemtl brick\nf 1 2 3\n";
    Mesh mesh;
    bool loaded = false;
    const std::string printed = printedBy([&] { loaded = mesh.loadMesh(files.write("textured.obj", obj), false); });
    ASSERT_TRUE(loaded);

    // One line each for the two named textures, none for the fallbacks.
    EXPECT_EQ(printed, "Error loading texture 'lost.png'\nLoaded texture 'brick.png'\n");
    ASSERT_EQ(mesh.entries.size(), 3u);
    const char* expected[] = {"white.png", "white.png", "brick.png"};
    for (std::size_t entry = 0; entry < 3; ++entry) {
        const std::uint32_t material = mesh.entries[entry].materialIndex;
        ASSERT_LT(material, mesh.materialTextures.size());
        EXPECT_EQ(mesh.materialTextures[material]->name, expected[entry]);
    }
    EXPECT_EQ(TextureManager::getInstance()->textureId("lost.png"), 0u);
}

TEST(MeshBounds, FlatSubMeshBoxIsWidenedButTheModelBoxIsNot)
{
    // A triangle in the plane x = 2, then one that is flat in z only.
    AssetFolder files;
    const std::string obj = "v 2 0 0\nv 2 1 0\nv 2 0 1\nv 5 3 4\nv 7 3 4\nv 5 6 4\n"
                            "o flatInX\nf 1 2 3\no flatInZ\nf 4 5 6\n";
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.write("flat.obj", obj), false));
    ASSERT_EQ(mesh.entries.size(), 2u);

    // A flat extent moves the lower corner up by one; y is never widened.
    const MeshEntity& flatInX = mesh.entries[0];
    EXPECT_EQ(flatInX.box.upper, glm::vec3(2, 1, 1));
    EXPECT_EQ(flatInX.box.lower, glm::vec3(3, 0, 0));
    // The sphere is taken before widening.
    EXPECT_EQ(flatInX.sphere.modelCentre, glm::vec4(2, 0.5f, 0.5f, 1));
    EXPECT_FLOAT_EQ(flatInX.sphere.radius, std::sqrt(0.5f));
    EXPECT_EQ(mesh.entries[1].box.lower, glm::vec3(5, 3, 5));

    EXPECT_EQ(mesh.boundingBox.upper, glm::vec3(7, 6, 4));
    EXPECT_EQ(mesh.boundingBox.lower, glm::vec3(2, 0, 0));
    EXPECT_EQ(mesh.boundingSphere.modelCentre, glm::vec4(4.5f, 3, 2, 1));
}

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
    ASSERT_EQ(mesh.entries.size(), 3u);
    ASSERT_EQ(mesh.tangents.size(), mesh.vertices.size());
    ASSERT_EQ(mesh.bitangents.size(), mesh.vertices.size());
    for (std::uint32_t i = 0; i < mesh.vertices.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "vertex " << i);
        const float sign = mesh.vertices[i].position.x >= 10.0f ? -1.0f : 1.0f;
        EXPECT_TRUE(near(mesh.vertices[i].normal, glm::vec3{0, 0, 1}));
        EXPECT_TRUE(near(mesh.tangents[i], glm::vec3{sign, 0, 0}));
        EXPECT_TRUE(near(mesh.bitangents[i], glm::vec3{0, sign, 0}));
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
        for (std::uint32_t i = 0; i < mesh.vertices.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "vertex " << i);
            expectValidFrame(mesh, i);
            const glm::vec4& position = mesh.vertices[i].position;
            if (obj == degenerate && position.x == position.y) {
                EXPECT_TRUE(near(mesh.tangents[i], glm::vec3{0, 1, 0}));
                EXPECT_TRUE(near(mesh.bitangents[i], glm::vec3{-1, 0, 0}));
            }
        }
    }
}
