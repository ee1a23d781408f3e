// Models the fuzz targets (tools/fuzz) found to crash, hang or leak inside
// Assimp, fed to Mesh byte for byte from tests/fuzz/regressions. Each must
// now be refused with one "Error parsing" line that says what is wrong,
// before Assimp reads what it would not survive, and leave the mesh empty.
#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"

#include <gtest/gtest.h>

#include <string>

using assettest::AssetFolder;
using assettest::fuzzRegressionInput;

namespace {

// The OBJ target's input: the model, a line "#mtl", then the text of
// model.mtl beside it.
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

// Loads path and expects it refused with exactly one line naming the file and
// holding reason.
void expectRefused(const std::string& path, const std::string& reason)
{
    Mesh mesh;
    bool loaded = true;
    const std::string printed = printedBy([&] { loaded = mesh.loadMesh(path, false); });
    EXPECT_FALSE(loaded);
    EXPECT_EQ(printed.rfind("Error parsing '" + path + "': '", 0), 0u) << printed;
    EXPECT_NE(printed.find(reason), std::string::npos) << printed;
    EXPECT_EQ(printed.find('\n'), printed.size() - 1) << printed;
    EXPECT_TRUE(mesh.vertices.empty());
    EXPECT_TRUE(mesh.materialTextures.empty());
}

} // namespace

// A <float_array> whose count attribute was mangled holds no values, and
// Assimp read the accessor's six points from the empty array: a crash.
TEST(MeshFuzzRegression, ColladaArrayWithoutCountIsRefused)
{
    AssetFolder folder;
    const std::string path = folder.write("model.DAE", fuzzRegressionInput("mesh_dae/float-array-without-count.dae"));
    expectRefused(path, "Collada check: an accessor reads past the end of 'pos-array' (0 values) (line 18)");
}

// A stray byte in a <p> index list: Assimp's reader stopped moving at it and
// appended zeros until memory ran out.
TEST(MeshFuzzRegression, ColladaIndexListWithAStrayByteIsRefused)
{
    AssetFolder folder;
    const std::string path = folder.write("model.DAE", fuzzRegressionInput("mesh_dae/index-list-with-stray-byte.dae"));
    expectRefused(path, "Collada check: <p> holds something other than whole numbers (line 23)");
}

// A <triangles> whose <p> list was mangled into text: Assimp, built with its
// assertions on, found fewer triangles than the count and aborted.
TEST(MeshFuzzRegression, ColladaTrianglesWithoutTheirIndexListAreRefused)
{
    AssetFolder folder;
    const std::string path = folder.write("model.DAE", fuzzRegressionInput("mesh_dae/triangles-without-index-list.dae"));
    expectRefused(path, "Collada check: <triangles> of count 1 holds 0 <p> lists (line 22)");
}

// A second <source> and <float_array> under ids already read: Assimp's mesh
// kept pointing at the first accessor, which the second had emptied, and read
// through its null data pointer.
TEST(MeshFuzzRegression, ColladaIdsGivenTwiceAreRefused)
{
    AssetFolder folder;
    const std::string path = folder.write("model.DAE", fuzzRegressionInput("mesh_dae/ids-given-twice.dae"));
    expectRefused(path, "Collada check: a second array with the id 'a' (line 13)");
}

// A material library whose first statement comes before any "newmtl":
// Assimp wrote it into a material that did not exist and crashed.
TEST(MeshFuzzRegression, MaterialBeforeTheFirstNewmtlIsRefused)
{
    AssetFolder folder;
    const std::string path = writeObjInput(folder, fuzzRegressionInput("mesh_obj/material-before-newmtl.obj"));
    expectRefused(path, "material library " + folder.path("model.mtl") + ": \"map_d.75\" before the first newmtl");
}

// A library of one byte: Assimp threw "File is too small" past its own
// clean-up and leaked the open file.
TEST(MeshFuzzRegression, LibraryOfOneByteIsRefusedWithItsName)
{
    AssetFolder folder;
    const std::string path = writeObjInput(folder, fuzzRegressionInput("mesh_obj/library-of-one-byte.obj"));
    expectRefused(path, "material library " + folder.path("model.mtl") + ": shorter than 8 bytes");
}

// A garbled "mtllib" line that Assimp turned into the model's own folder:
// the folder opened, gave no bytes, and the open file leaked the same way.
TEST(MeshFuzzRegression, LibraryThatIsAFolderIsRefused)
{
    AssetFolder folder;
    const std::string path = writeObjInput(folder, fuzzRegressionInput("mesh_obj/library-is-a-folder.obj"));
    expectRefused(path, "/: cannot be read");
}
