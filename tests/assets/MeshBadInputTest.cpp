#include "assets/Mesh.h"

#include "support/AssetFiles.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>

#include <cmath>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

using assettest::AssetFolder;

namespace {

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

// Refused with exactly one "Error parsing '<path>': '<reason>'" line holding
// reason, and nothing loaded.
void expectRefused(const std::string& path, const std::string& reason = "")
{
    SCOPED_TRACE(path);
    Mesh mesh;
    const Load result = load(mesh, path);
    EXPECT_FALSE(result.loaded);
    EXPECT_EQ(result.printed.rfind("Error parsing '" + path + "': '", 0), 0u) << result.printed;
    EXPECT_NE(result.printed.find(reason + "'\n"), std::string::npos) << result.printed;
    EXPECT_EQ(lineCount(result.printed), 1) << result.printed;
    EXPECT_TRUE(mesh.vertices.empty());
    EXPECT_TRUE(mesh.entries.empty());
    EXPECT_TRUE(mesh.materialTextures.empty());
}

// The bytes of an input the fuzz targets (tools/fuzz) found, kept in tests/fuzz/regressions.
std::string fuzzRegressionInput(const std::string& name)
{
    std::ifstream file(std::string(BRIMBOLT_SOURCE_DIR) + "/tests/fuzz/regressions/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The OBJ target's input: the model, a line "#mtl", then the text of model.mtl beside it.
std::string writeObjInput(const AssetFolder& folder, const std::string& input)
{
    const std::string separator = "\n#mtl\n";
    const std::size_t split = input.find(separator);
    if (split == std::string::npos) {
        return folder.write("model.obj", input);
    }
    folder.write("model.mtl", input.substr(split + separator.size()));
    return folder.write("model.obj", input.substr(0, split + 1));
}

const char* const quad = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nf 1 2 3\nf 1 3 4\n";

} // namespace

// What holds no vertex at all is no model, whatever the importer made of it:
// a missing file, prose, noise, a file cut off before its first vertex, an
// XML model cut in half. A model cut after some faces loads the faces it holds.
TEST(MeshBadInput, FilesWithoutVerticesAreErrorsAndCutFilesKeepWhatTheyHold)
{
    AssetFolder files;
    const std::string collada = R"(<?xml version="1.0" encoding="utf-8"?>
<COLLADA xmlns="http://www.collada.org/2005/11/COLLADASchema" version="1.4.1">
  <library_geometries><geometry id="g"><mesh>
    <source id="pos"><float_array id="pos-array" count="9">0 0 0  1 0 0  0 1 0</float_array>)";
    for (const std::string& path :
         {files.path("nowhere.obj"), files.write("empty.obj", ""),
          files.write("noise.bin", std::string("\x7f\x13\x00\xfe garbage \x01\x02", 16)),
          files.write("prose.obj", "This is a letter, not a model.\nKind regards\n"),
          files.write("header.obj", "# exported model\nmtllib none.mtl\no Body\n"), files.write("cut.dae", collada)}) {
        expectRefused(path);
    }

    Mesh cut;
    const Load result = load(cut, files.write("cutAfterFaces.obj", std::string(quad) + "v 5 5 5\nv 6 5 5\nv 6 6"));
    ASSERT_TRUE(result.loaded) << result.printed;
    EXPECT_EQ(cut.indices.size(), 6u);
}

// Models the fuzz targets found to crash, hang or leak inside Assimp: each is
// now refused, before Assimp reads what it would not survive.
TEST(MeshBadInput, FuzzFindingsAreRefusedWithWhatIsWrong)
{
    AssetFolder folder;
    const std::pair<const char*, const char*> colladaCases[] = {
        // A mangled count attribute: Assimp read six points from an empty array.
        {"float-array-without-count.dae", "an accessor reads past the end of 'pos-array' (0 values) (line 18)"},
        // A stray byte: Assimp's reader stopped at it and appended zeros until memory ran out.
        {"index-list-with-stray-byte.dae", "<p> holds something other than whole numbers (line 23)"},
        // Fewer triangles than counted: Assimp's assertions aborted.
        {"triangles-without-index-list.dae", "<triangles> of count 1 holds 0 <p> lists (line 22)"},
        // A second array under an id already read: Assimp read through a null data pointer.
        {"ids-given-twice.dae", "a second array with the id 'a' (line 13)"},
    };
    for (const auto& [name, reason] : colladaCases) {
        expectRefused(folder.write("model.DAE", fuzzRegressionInput(std::string("mesh_dae/") + name)),
                      std::string("Collada check: ") + reason);
    }
    // A statement before any "newmtl": Assimp wrote into a material that did not exist.
    const std::string library = "material library " + folder.path("model.mtl");
    expectRefused(writeObjInput(folder, fuzzRegressionInput("mesh_obj/material-before-newmtl.obj")),
                  library + ": \"map_d.75\" before the first newmtl");
    // A library of one byte, or a garbled "mtllib" naming the model's own
    // folder: Assimp leaked the open file.
    expectRefused(writeObjInput(folder, fuzzRegressionInput("mesh_obj/library-of-one-byte.obj")),
                  library + ": shorter than 8 bytes");
    expectRefused(writeObjInput(folder, fuzzRegressionInput("mesh_obj/library-is-a-folder.obj")), "/: cannot be read");
}

// Vertices without faces load, say so in one line, and draw nothing; a whole model says nothing.
TEST(MeshBadInput, AModelWithoutFacesIsReportedAndDrawsNothing)
{
    AssetFolder files;
    Mesh mesh;
    const std::string path = files.write("points.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nv 1 1 1\n");
    const Load result = load(mesh, path);
    ASSERT_TRUE(result.loaded) << result.printed;
    EXPECT_EQ(result.printed, "Model '" + path + "' has no faces; nothing of it is drawn.\n");
    EXPECT_EQ(mesh.indexCount, 0u);

    Mesh whole;
    EXPECT_EQ(load(whole, files.write("quad.obj", quad)).printed, "");
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
    const auto finite = [](const glm::vec3& v) { return std::isfinite(v.x + v.y + v.z); };
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
                EXPECT_TRUE(finite(glm::vec3(vertex.position)) && std::isfinite(vertex.position.w));
                EXPECT_TRUE(finite(vertex.normal) && std::isfinite(vertex.texCoord.x));
            }
            EXPECT_LE(mesh.boundingSphere.radius, 10.0f);
            for (const glm::vec3& tangent : mesh.tangents) {
                EXPECT_TRUE(finite(tangent));
            }
        }
    }
}

// The material file: missing or empty, the model is drawn with default
// materials after one line; a diffuse colour that is no number is drawn
// black after one line; noise, or a colour cut before its last number, makes
// the whole model unreadable.
TEST(MeshBadInput, MaterialFilesMissingEmptyAbsurdOrNoise)
{
    GL_TEST_SETUP(context);
    AssetFolder files;
    ASSERT_TRUE(files.texture("white.png"));
    const std::string obj = std::string("mtllib stone.mtl\nusemtl green\n") + quad;
    struct Case {
        const char* library; // nullptr: no file
        std::string printed; // the line after "Model '<path>': ", or "" for a silent load
        float green;         // of the vertices' colour; below 0: any
    };
    const Case loads[] = {
        {nullptr, "; drawn with default materials.\n", -1.0f},
        {"", "green", -1.0f},
        {"newmtl green\nKd nan nan nan\n", "1 sub-meshes have a diffuse colour that is not a finite number; drawn black.\n",
         0.0f},
        // Cut inside a colour's last number: what was written stands.
        {"newmtl green\nKd 0.25 0.5 0.", "", 0.5f},
    };
    for (const Case& test : loads) {
        SCOPED_TRACE(test.library ? test.library : "missing");
        if (test.library) {
            files.write("stone.mtl", test.library);
        }
        Mesh mesh;
        const std::string path = files.write("stone.obj", obj);
        const Load result = load(mesh, path);
        ASSERT_TRUE(result.loaded) << result.printed;
        EXPECT_EQ(lineCount(result.printed), test.printed.empty() ? 0 : 1) << result.printed;
        EXPECT_EQ(result.printed.rfind(test.printed.empty() ? "" : "Model '" + path + "': ", 0), 0u) << result.printed;
        EXPECT_NE(result.printed.find(test.printed), std::string::npos) << result.printed;
        EXPECT_EQ(mesh.indexCount, 6u);
        if (test.green >= 0.0f) {
            EXPECT_EQ(mesh.vertices.at(0).color.g, test.green);
        }
    }
    for (const std::string library : {"newmtl green\nKd 0.25 0.", "newmtl green\nKd \x8f\x13\xfe\x01 1 1\n"}) {
        files.write("stone.mtl", library);
        expectRefused(files.write("stone.obj", obj));
    }
}
