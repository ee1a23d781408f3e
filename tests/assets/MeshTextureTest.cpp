#include "assets/Mesh.h"
#include "assets/TextureManager.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <string>

using meshtest::MeshFiles;
using meshtest::printedBy;

namespace {

// Material "plain" has no texture, "lost" names a file that does not exist
// and "brick" one that does. Each has a face so that all three are kept.
const std::string texturedObj = R"(mtllib textured.mtl
v 0 0 0
v 1 0 0
v 0 1 0
usemtl plain
f 1 2 3
usemtl lost
f 1 2 3
usemtl brick
f 1 2 3
)";

const std::string texturedMtl = R"(newmtl plain
Kd 1 1 1
newmtl lost
Kd 1 1 1
map_Kd meshImportLost.png
newmtl brick
Kd 1 1 1
map_Kd meshImportBrick.png
)";

const std::string* textureNameOf(const Mesh& mesh, const MeshEntity& entry)
{
    if (entry.materialIndex >= mesh.materialTextures.size() || !mesh.materialTextures[entry.materialIndex]) {
        return nullptr;
    }
    return &mesh.materialTextures[entry.materialIndex]->name;
}

} // namespace

TEST(MeshTextures, MaterialsGetTheirTextureOrTheWhiteFallback)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ASSERT_TRUE(files.texture("white.png"));
    ASSERT_TRUE(files.texture("meshImportBrick.png"));
    files.model("textured.mtl", texturedMtl);
    const std::string path = files.model("textured.obj", texturedObj);

    Mesh mesh;
    bool loaded = false;
    std::string printed = printedBy([&] { loaded = mesh.loadMesh(path, false); });
    ASSERT_TRUE(loaded);

    // One line each for the two named textures, none for the fallbacks.
    EXPECT_EQ(printed, "Error loading texture 'meshImportLost.png'\n"
                       "Loaded texture 'meshImportBrick.png'\n");

    ASSERT_EQ(mesh.entries.size(), 3u);
    const std::string* plain = textureNameOf(mesh, mesh.entries[0]);
    const std::string* lost = textureNameOf(mesh, mesh.entries[1]);
    const std::string* brick = textureNameOf(mesh, mesh.entries[2]);
    ASSERT_TRUE(plain && lost && brick);
    EXPECT_EQ(*plain, "white.png");
    EXPECT_EQ(*lost, "white.png");
    EXPECT_EQ(*brick, "meshImportBrick.png");

    // Every material of the file has a texture, used or not.
    for (const auto& texture : mesh.materialTextures) {
        ASSERT_TRUE(texture);
    }

    TextureManager* manager = TextureManager::getInstance();
    EXPECT_NE(manager->textureId("white.png"), 0u);
    EXPECT_NE(manager->textureId("meshImportBrick.png"), 0u);
    EXPECT_EQ(manager->textureId("meshImportLost.png"), 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(MeshTextures, MissingWhiteTextureIsSilent)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    Mesh mesh;
    std::string printed = printedBy([&] {
        EXPECT_TRUE(mesh.loadMesh(files.model("tri.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n"), false));
    });
    EXPECT_EQ(printed, "");
    ASSERT_EQ(mesh.materialTextures.size(), 1u);
    ASSERT_TRUE(mesh.materialTextures[0]);
    EXPECT_EQ(mesh.materialTextures[0]->name, "white.png");
}
