#include "render/ParallaxGeometry.h"

#include "assets/TextureManager.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

using meshtest::MeshFiles;

namespace {

GLuint idOf(const std::string& name)
{
    return TextureManager::getInstance()->textureId(name);
}

} // namespace

TEST(ParallaxGeometryMaps, StartsWithoutMapsAndUnprepared)
{
    // Nothing here touches the GL, so no context is needed.
    ParallaxGeometry piece;

    EXPECT_TRUE(piece.normalMapName.empty());
    EXPECT_TRUE(piece.heightMapName.empty());
    EXPECT_TRUE(piece.specularMapName.empty());
    EXPECT_FALSE(piece.hasSpecularMap);
    EXPECT_FALSE(piece.prepared);
    EXPECT_FALSE(piece.tangentBuffer.created());
    EXPECT_FALSE(piece.bitangentBuffer.created());
}

TEST(ParallaxGeometryMaps, SetMapsLoadsBothMaps)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ASSERT_TRUE(files.texture("wallNormals.png"));
    ASSERT_TRUE(files.texture("wallHeights.png"));
    ParallaxGeometry piece;

    EXPECT_TRUE(piece.setMaps("wallNormals.png", "wallHeights.png"));

    EXPECT_EQ(piece.normalMapName, "wallNormals.png");
    EXPECT_EQ(piece.heightMapName, "wallHeights.png");
    EXPECT_NE(idOf("wallNormals.png"), 0u);
    EXPECT_NE(idOf("wallHeights.png"), 0u);
}

TEST(ParallaxGeometryMaps, AMissingNormalMapSkipsTheHeightMapButKeepsBothNames)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    // The height map could be read: only skipping it keeps its id at 0.
    ASSERT_TRUE(files.texture("wallHeights.png"));
    ParallaxGeometry piece;

    EXPECT_FALSE(piece.setMaps("missingNormals.png", "wallHeights.png"));

    EXPECT_EQ(piece.normalMapName, "missingNormals.png");
    EXPECT_EQ(piece.heightMapName, "wallHeights.png");
    EXPECT_EQ(idOf("missingNormals.png"), 0u);
    EXPECT_EQ(idOf("wallHeights.png"), 0u);
}

TEST(ParallaxGeometryMaps, AMissingHeightMapFailsAfterTheNormalMapLoaded)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ASSERT_TRUE(files.texture("wallNormals.png"));
    ParallaxGeometry piece;

    EXPECT_FALSE(piece.setMaps("wallNormals.png", "missingHeights.png"));

    EXPECT_NE(idOf("wallNormals.png"), 0u);
    EXPECT_EQ(idOf("missingHeights.png"), 0u);
    EXPECT_EQ(piece.heightMapName, "missingHeights.png");
}

TEST(ParallaxGeometryMaps, ASpecularMapIsTakenOnlyWhenItLoads)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ASSERT_TRUE(files.texture("wallSpecular.png"));
    ParallaxGeometry piece;

    EXPECT_FALSE(piece.setSpecularMap("missingSpecular.png"));
    EXPECT_FALSE(piece.hasSpecularMap);
    EXPECT_TRUE(piece.specularMapName.empty());

    EXPECT_TRUE(piece.setSpecularMap("wallSpecular.png"));
    EXPECT_TRUE(piece.hasSpecularMap);
    EXPECT_EQ(piece.specularMapName, "wallSpecular.png");
    EXPECT_NE(idOf("wallSpecular.png"), 0u);

    // A later failure changes nothing: the loaded map stays in use.
    EXPECT_FALSE(piece.setSpecularMap("missingSpecular.png"));
    EXPECT_TRUE(piece.hasSpecularMap);
    EXPECT_EQ(piece.specularMapName, "wallSpecular.png");
}
