#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/epsilon.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

using assettest::AssetFolder;

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
      <diffuse><color>0.1 0.1 0.1 1</color></diffuse></phong></technique></profile_COMMON></effect>
    <effect id="hub-fx"><profile_COMMON><technique sid="common"><phong>
      <diffuse><color>0.8 0.7 0.2 1</color></diffuse></phong></technique></profile_COMMON></effect>
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

// Every vertex of the entry has the colour, within rounding.
void expectEntryColour(const Mesh& mesh, const MeshEntity& entry, const glm::vec3& colour)
{
    for (std::uint32_t index : indicesOf(mesh, entry)) {
        EXPECT_TRUE(glm::all(glm::epsilonEqual(mesh.vertices[index].color, colour, 1e-4f))) << "vertex " << index;
    }
}

} // namespace

TEST(MeshImport, SubMeshesFollowEachOtherInBothArraysWithTheirColours)
{
    AssetFolder files;
    files.write("two.mtl", "newmtl red\nKd 1 0 0\nnewmtl green\nKd 0 1 0\n");
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.write("two.obj", twoMaterialsObj), false));

    ASSERT_EQ(mesh.entries.size(), 2u);
    const MeshEntity& quad = mesh.entries[0];
    const MeshEntity& triangle = mesh.entries[1];
    EXPECT_EQ(quad.baseIndex, 0u);
    EXPECT_EQ(quad.numIndices, 6u);
    EXPECT_EQ(triangle.baseIndex, quad.numIndices);
    EXPECT_EQ(triangle.numIndices, 3u);
    EXPECT_EQ(mesh.indices.size(), 9u);

    // The quad's vertices come first; the triangle's indices are offset past them.
    const std::vector<std::uint32_t> quadIndices = indicesOf(mesh, quad);
    const std::uint32_t quadVertexCount = *std::max_element(quadIndices.begin(), quadIndices.end()) + 1;
    EXPECT_EQ(*std::min_element(quadIndices.begin(), quadIndices.end()), 0u);
    for (std::uint32_t index : indicesOf(mesh, triangle)) {
        EXPECT_GE(index, quadVertexCount);
        ASSERT_LT(index, mesh.vertices.size());
        EXPECT_GE(mesh.vertices[index].position.x, 3.0f);
    }
    expectEntryColour(mesh, quad, {1, 0, 0});
    expectEntryColour(mesh, triangle, {0, 1, 0});
    // Texture coordinates are taken unflipped.
    for (const MeshVertex& vertex : mesh.vertices) {
        if (vertex.position == glm::vec4(4, 0, 1, 1)) {
            EXPECT_EQ(vertex.texCoord, glm::vec2(0.25f, 0.75f));
        }
    }
}

TEST(MeshImport, ColladaMaterialsBecomeSubMeshesWithTheirColours)
{
    AssetFolder files;
    Mesh mesh;
    bool loaded = false;
    printedBy([&] { loaded = mesh.loadMesh(files.write("tyre.DAE", twoMaterialsCollada), false); });
    ASSERT_TRUE(loaded);

    ASSERT_EQ(mesh.entries.size(), 2u);
    ASSERT_EQ(mesh.vertices.size(), 6u);
    EXPECT_EQ(mesh.entries[1].baseIndex, mesh.entries[0].numIndices);
    // The importer may order the materials either way.
    const bool treadFirst = mesh.vertices[mesh.indices[0]].color.r < 0.5f;
    expectEntryColour(mesh, mesh.entries[treadFirst ? 0 : 1], glm::vec3(0.1f));
    expectEntryColour(mesh, mesh.entries[treadFirst ? 1 : 0], {0.8f, 0.7f, 0.2f});
}

TEST(MeshImport, BareFacesGetNormalsZeroTexCoordsAndNoPointsOrLines)
{
    AssetFolder files;
    Mesh mesh;
    const std::string obj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nl 1 3\np 4\nf 1 3 4\n";
    ASSERT_TRUE(mesh.loadMesh(files.write("bare.obj", obj), false));
    ASSERT_EQ(mesh.entries.size(), 1u);
    EXPECT_EQ(mesh.entries[0].numIndices, 6u);
    EXPECT_EQ(mesh.indices.size(), 6u);
    for (const MeshVertex& vertex : mesh.vertices) {
        EXPECT_EQ(vertex.texCoord, glm::vec2(0.0f));
        EXPECT_TRUE(glm::all(glm::epsilonEqual(vertex.normal, glm::vec3(0, 0, 1), 1e-6f)));
    }
}

TEST(MeshImport, UnreadableFilePrintsErrorParsingAndLoadsNothing)
{
    AssetFolder files;
    for (const std::string& path : {files.path("nowhere.obj"), files.write("empty.obj", ""),
                                    files.write("noise.bin", std::string("\x7f\x13\x00\xfe garbage \x01\x02", 16))}) {
        SCOPED_TRACE(path);
        Mesh mesh;
        bool loaded = true;
        const std::string printed = printedBy([&] { loaded = mesh.loadMesh(path, true); });
        EXPECT_FALSE(loaded);
        // One line: Error parsing '<path>': '<reason>'
        const std::string prefix = "Error parsing '" + path + "': '";
        ASSERT_GT(printed.size(), prefix.size() + 2) << printed;
        EXPECT_EQ(printed.substr(0, prefix.size()), prefix);
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
        EXPECT_EQ(printed.substr(printed.size() - 2), "'\n");
        EXPECT_TRUE(mesh.vertices.empty());
        EXPECT_TRUE(mesh.entries.empty());
    }
}

TEST(MeshImport, MissingTextureFallsBackToWhiteWithItsMessage)
{
    GL_TEST_SETUP(context);
    AssetFolder files;
    ASSERT_TRUE(files.texture("white.png"));
    ASSERT_TRUE(files.texture("brick.png"));
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
    for (int entry = 0; entry < 3; ++entry) {
        const std::uint32_t material = mesh.entries[static_cast<size_t>(entry)].materialIndex;
        ASSERT_LT(material, mesh.materialTextures.size());
        ASSERT_TRUE(mesh.materialTextures[material]);
        EXPECT_EQ(mesh.materialTextures[material]->name, expected[entry]);
    }
    EXPECT_NE(TextureManager::getInstance()->textureId("white.png"), 0u);
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
    const MeshEntity& flatInZ = mesh.entries[1];
    EXPECT_EQ(flatInZ.box.upper, glm::vec3(7, 6, 4));
    EXPECT_EQ(flatInZ.box.lower, glm::vec3(5, 3, 5));

    EXPECT_EQ(mesh.boundingBox.upper, glm::vec3(7, 6, 4));
    EXPECT_EQ(mesh.boundingBox.lower, glm::vec3(2, 0, 0));
    EXPECT_EQ(mesh.boundingSphere.modelCentre, glm::vec4(4.5f, 3, 2, 1));
}
