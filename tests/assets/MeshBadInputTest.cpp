#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>

using assettest::AssetFolder;

namespace {

bool isFinite(const glm::vec4& v)
{
    return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z) && std::isfinite(v.w);
}

// Loads the model with standard output captured.
struct Load {
    bool loaded = false;
    std::string printed;
};

Load load(Mesh& mesh, const std::string& path, bool withTangents = false)
{
    Load result;
    result.printed = printedBy([&] { result.loaded = mesh.loadMesh(path, withTangents); });
    return result;
}

const char* const quad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 3 4\n";

} // namespace

// What holds no vertex at all is no model, whatever the importer made of it:
// prose, a file cut off before its first vertex, an XML model cut in half.
// Each is one "Error parsing" line and leaves the mesh empty, as a missing
// file does. A model cut after some faces loads the faces it holds.
TEST(MeshBadInput, FilesWithoutVerticesAreErrorsAndCutFilesKeepWhatTheyHold)
{
    AssetFolder files;
    const std::string collada = R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <library_geometries><geometry id="g"><mesh>
    <source id="pos"><float_array id="pos-array" count="9">0 0 0  1 0 0  0 1 0</float_array>)";
    for (const std::string& path :
         {files.write("prose.obj", "This is a letter, not a model.\nKind regards\n"),
          files.write("header.obj", "# exported model\nmtllib none.mtl\no Body\n"),
          files.write("cut.dae", collada)}) {
        SCOPED_TRACE(path);
        Mesh mesh;
        const Load result = load(mesh, path);
        EXPECT_FALSE(result.loaded);
        EXPECT_EQ(result.printed.rfind("Error parsing '" + path + "': '", 0), 0u) << result.printed;
        EXPECT_EQ(lineCount(result.printed), 1) << result.printed;
        EXPECT_TRUE(mesh.vertices.empty());
    }

    Mesh cut;
    const std::string cutObj = std::string(quad) + "v 5 5 5\nv 6 5 5\nv 6 6";
    const Load result = load(cut, files.write("cutAfterFaces.obj", cutObj));
    ASSERT_TRUE(result.loaded) << result.printed;
    EXPECT_EQ(cut.indices.size(), 6u);
}

// Vertices without faces load, say so in one line, and draw nothing.
TEST(MeshBadInput, AModelWithoutFacesIsReportedAndDrawsNothing)
{
    AssetFolder files;
    Mesh mesh;
    const std::string path = files.write("points.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 1\n");
    const Load result = load(mesh, path);
    ASSERT_TRUE(result.loaded) << result.printed;
    EXPECT_EQ(result.printed, "Model '" + path + "' has no faces; nothing of it is drawn.\n");
    EXPECT_FALSE(mesh.vertices.empty());
    EXPECT_EQ(mesh.indexCount, 0u);

    Mesh whole;
    const Load quiet = load(whole, files.write("quad.obj", quad));
    EXPECT_EQ(quiet.printed, "");
}

// NaN, infinities and coordinates far beyond any room, in positions or in
// normals: the faces on such vertices are left out, the bounds stay around
// the good part, and one line tells how many vertices were bad. With
// tangents the same.
TEST(MeshBadInput, AbsurdNumbersLeaveTheirFacesOutWithOneLine)
{
    AssetFolder files;
    const std::string positions = std::string(quad) +
                                  "v nan 0 0\nv 2 0 0\nv 2 1 0\n"  // a position that is no number
                                  "v 1e30 0 0\nv 3 0 0\nv 3 1 0\n" // one light-years away
                                  "f 5 6 7\nf 8 9 10\n";
    const std::string normals = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 4 0 0\nv 5 0 0\nv 5 1 0\n"
                                "vn 0 0 1\nvn nan 0 1\n"
                                "f 1//1 2//1 3//1\nf 1//1 3//1 4//1\nf 5//2 6//1 7//1\n";
    for (const auto& [name, text] : {std::pair{"positions.obj", positions}, std::pair{"normals.obj", normals}}) {
        for (bool withTangents : {false, true}) {
            SCOPED_TRACE(std::string(name) + (withTangents ? " with tangents" : " without tangents"));
            Mesh mesh;
            const std::string path = files.write(name, text);
            const Load result = load(mesh, path, withTangents);
            ASSERT_TRUE(result.loaded) << result.printed;
            EXPECT_EQ(lineCount(result.printed), 1) << result.printed;
            EXPECT_EQ(result.printed.rfind("Model '" + path + "': ", 0), 0u) << result.printed;
            EXPECT_NE(result.printed.find(" vertices hold numbers that are not finite or beyond 1e+06; the faces on "
                                          "them are left out."),
                      std::string::npos)
                << result.printed;

            // Only the quad's two triangles are left.
            EXPECT_EQ(mesh.indexCount, 6u);
            for (const MeshVertex& vertex : mesh.vertices) {
                EXPECT_TRUE(isFinite(vertex.position));
                EXPECT_TRUE(std::isfinite(vertex.normal.x) && std::isfinite(vertex.texCoord.x));
            }
            EXPECT_TRUE(std::isfinite(mesh.boundingSphere.radius));
            EXPECT_LE(mesh.boundingSphere.radius, 10.0f);
            for (const glm::vec3& tangent : mesh.tangents) {
                EXPECT_TRUE(std::isfinite(tangent.x) && std::isfinite(tangent.y) && std::isfinite(tangent.z));
            }
        }
    }
}

// The material file: missing or empty, the model is drawn with default
// materials after one line; a diffuse colour that is no number is drawn
// black after one line; noise makes the whole model unreadable.
TEST(MeshBadInput, MaterialFilesMissingEmptyAbsurdOrNoise)
{
    GL_TEST_SETUP(context);
    AssetFolder files;
    ASSERT_TRUE(files.texture("white.png"));
    const std::string obj = std::string("mtllib stone.mtl\nusemtl green\n") + quad;

    {
        Mesh mesh;
        const std::string path = files.write("missing.obj", obj);
        const Load result = load(mesh, path);
        ASSERT_TRUE(result.loaded) << result.printed;
        EXPECT_EQ(result.printed.rfind("Model '" + path + "': ", 0), 0u) << result.printed;
        EXPECT_NE(result.printed.find("stone.mtl"), std::string::npos) << result.printed;
        EXPECT_NE(result.printed.find("; drawn with default materials.\n"), std::string::npos) << result.printed;
        EXPECT_EQ(lineCount(result.printed), 1) << result.printed;
        EXPECT_EQ(mesh.indexCount, 6u);
    }
    {
        files.write("stone.mtl", "");
        Mesh mesh;
        const std::string path = files.write("empty.obj", obj);
        const Load result = load(mesh, path);
        ASSERT_TRUE(result.loaded) << result.printed;
        EXPECT_EQ(result.printed.rfind("Model '" + path + "': ", 0), 0u) << result.printed;
        EXPECT_NE(result.printed.find("green"), std::string::npos) << result.printed;
        EXPECT_EQ(lineCount(result.printed), 1) << result.printed;
    }
    {
        // Cut inside a colour's last number: what was written stands. Cut
        // before it, the colour misses a number and the model is unreadable.
        files.write("stone.mtl", "newmtl green\nKd 0.25 0.5 0.");
        Mesh mesh;
        Load result = load(mesh, files.write("cut.obj", obj));
        ASSERT_TRUE(result.loaded) << result.printed;
        EXPECT_EQ(result.printed, "");
        EXPECT_FLOAT_EQ(mesh.vertices.at(0).color.g, 0.5f);
        files.write("stone.mtl", "newmtl green\nKd 0.25 0.");
        Mesh cutEarlier;
        result = load(cutEarlier, files.write("cutEarlier.obj", obj));
        EXPECT_FALSE(result.loaded);
        EXPECT_EQ(result.printed.rfind("Error parsing '", 0), 0u) << result.printed;
    }
    {
        files.write("stone.mtl", "newmtl green\nKd nan nan nan\n");
        Mesh mesh;
        const std::string path = files.write("nan.obj", obj);
        const Load result = load(mesh, path);
        ASSERT_TRUE(result.loaded) << result.printed;
        EXPECT_EQ(result.printed,
                  "Model '" + path + "': 1 sub-meshes have a diffuse colour that is not a finite number; drawn black.\n");
        for (const MeshVertex& vertex : mesh.vertices) {
            EXPECT_EQ(vertex.color, glm::vec3(0.0f));
        }
    }
    {
        files.write("stone.mtl", std::string("newmtl green\nKd \x8f\x13\xfe\x01 1 1\n", 23));
        Mesh mesh;
        const std::string path = files.write("noise.obj", obj);
        const Load result = load(mesh, path);
        EXPECT_FALSE(result.loaded);
        EXPECT_EQ(result.printed.rfind("Error parsing '" + path + "': '", 0), 0u) << result.printed;
        EXPECT_EQ(lineCount(result.printed), 1) << result.printed;
    }
}
