#include "assets/Mesh.h"

#include "assets/MeshTestFiles.h"

#include <glm/gtc/epsilon.hpp>

#include <gtest/gtest.h>

namespace {

// Two triangles in two materials, as a wheel model carries tread and hub.
const char* const twoMaterialCollada = R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <asset><unit name="meter" meter="1"/><up_axis>Y_UP</up_axis></asset>
  <library_effects>
    <effect id="tread-fx"><profile_COMMON><technique sid="common"><phong>
      <diffuse><color>0.1 0.1 0.1 1</color></diffuse></phong></technique></profile_COMMON></effect>
    <effect id="hub-fx"><profile_COMMON><technique sid="common"><phong>
      <diffuse><color>0.8 0.7 0.2 1</color></diffuse></phong></technique></profile_COMMON></effect>
  </library_effects>
  <library_materials>
    <material id="tread" name="tread"><instance_effect url="#tread-fx"/></material>
    <material id="hub" name="hub"><instance_effect url="#hub-fx"/></material>
  </library_materials>
  <library_geometries>
    <geometry id="wheel"><mesh>
      <source id="wheel-pos"><float_array id="wheel-pos-array" count="18">
        0 0 0  1 0 0  0 1 0   0 0 1  1 0 1  0 1 1</float_array>
        <technique_common><accessor source="#wheel-pos-array" count="6" stride="3">
          <param name="X" type="float"/><param name="Y" type="float"/><param name="Z" type="float"/>
        </accessor></technique_common></source>
      <vertices id="wheel-vtx"><input semantic="POSITION" source="#wheel-pos"/></vertices>
      <triangles material="tread" count="1"><input semantic="VERTEX" source="#wheel-vtx" offset="0"/><p>0 1 2</p></triangles>
      <triangles material="hub" count="1"><input semantic="VERTEX" source="#wheel-vtx" offset="0"/><p>3 4 5</p></triangles>
    </mesh></geometry>
  </library_geometries>
  <library_visual_scenes><visual_scene id="scene"><node id="wheel-node">
    <instance_geometry url="#wheel"><bind_material><technique_common>
      <instance_material symbol="tread" target="#tread"/><instance_material symbol="hub" target="#hub"/>
    </technique_common></bind_material></instance_geometry>
  </node></visual_scene></library_visual_scenes>
  <scene><instance_visual_scene url="#scene"/></scene>
</COLLADA>
)";

} // namespace

TEST(MeshCollada, EachMaterialBecomesAnEntryWithItsColour)
{
    meshtest::MeshFiles files;
    Mesh mesh;
    testing::internal::CaptureStdout();
    ASSERT_TRUE(mesh.loadMesh(files.model("tyre.DAE", twoMaterialCollada), false));
    testing::internal::GetCapturedStdout();

    ASSERT_EQ(mesh.entryCount, 2u);
    ASSERT_EQ(mesh.vertices.size(), 6u);
    EXPECT_EQ(mesh.entries[1].baseIndex, mesh.entries[0].numIndices);
    // Each sub-mesh's vertices carry its own material's diffuse colour.
    const Mesh& m = mesh;
    auto colourOf = [&](const MeshEntity& entry) { return m.vertices[m.indices[entry.baseIndex]].color; };
    glm::vec3 first = colourOf(mesh.entries[0]), second = colourOf(mesh.entries[1]);
    EXPECT_NE(first, second);
    bool treadThenHub = glm::all(glm::epsilonEqual(first, glm::vec3(0.1f), 1e-4f)) &&
                        glm::all(glm::epsilonEqual(second, glm::vec3(0.8f, 0.7f, 0.2f), 1e-4f));
    bool hubThenTread = glm::all(glm::epsilonEqual(second, glm::vec3(0.1f), 1e-4f)) &&
                        glm::all(glm::epsilonEqual(first, glm::vec3(0.8f, 0.7f, 0.2f), 1e-4f));
    EXPECT_TRUE(treadThenHub || hubThenTread);
}
