#include "render/Shader.h"

#include "render/ShaderLocationTable.h"
#include "render/ShaderTestSources.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStdout;

TEST(ShaderLocationLookup, CachesRealLocationsAndMinusOneForUnusedNames)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("lookup.vert", shadertest::vertexSource);
    scratch.write("lookup.frag", shadertest::fragmentSource);
    Shader shader((scratch.path() / "lookup").string());
    ASSERT_NE(shader.program(), 0u);

    EXPECT_EQ(shader.locations().size(), shaderLocationTable.size());
    EXPECT_EQ(shader.location(ShaderLocation::in_position), shadertest::positionLocation);
    EXPECT_EQ(shader.location(ShaderLocation::in_normal), shadertest::normalLocation);
    EXPECT_EQ(shader.location(ShaderLocation::in_tangent), -1);
    EXPECT_EQ(shader.location(ShaderLocation::in_color), -1);

    const GLint mvp = glGetUniformLocation(shader.program(), "mvpMatrix");
    const GLint color = glGetUniformLocation(shader.program(), "color");
    ASSERT_NE(mvp, -1);
    ASSERT_NE(color, -1);
    EXPECT_EQ(shader.location(ShaderLocation::mvpMatrix), mvp);
    EXPECT_EQ(shader.location(ShaderLocation::color), color);
    EXPECT_EQ(shader.location(ShaderLocation::lightColor), -1);
    EXPECT_EQ(shader.location(ShaderLocation::useSpecularMap), -1);
    // Reading cached values adds nothing.
    EXPECT_EQ(shader.locations().size(), shaderLocationTable.size());
}

TEST(ShaderLocationLookup, LocationsSurviveTheOwnersRelink)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("relink.vert", shadertest::vertexSource);
    scratch.write("relink.frag", shadertest::fragmentSource);
    Shader shader((scratch.path() / "relink").string());
    ASSERT_NE(shader.program(), 0u);
    const GLint mvp = shader.location(ShaderLocation::mvpMatrix);
    bindFragmentOutput(shader, "out_color");
    EXPECT_EQ(shader.location(ShaderLocation::mvpMatrix), mvp);
    EXPECT_EQ(shader.location(ShaderLocation::in_position), shadertest::positionLocation);
}

TEST(ShaderLocationLookup, FailedProgramAnswersZeroAndEntersTheKey)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("failed.vert", shadertest::brokenVertexSource);
    scratch.write("failed.frag", shadertest::fragmentSource);
    CaptureStdout();
    Shader shader((scratch.path() / "failed").string());
    GetCapturedStdout();
    ASSERT_EQ(shader.program(), 0u);
    ASSERT_TRUE(shader.locations().empty());

    EXPECT_EQ(shader.location(ShaderLocation::mvpMatrix), 0);
    ASSERT_EQ(shader.locations().size(), 1u);
    EXPECT_EQ(shader.locations().begin()->first, ShaderLocation::mvpMatrix);
    EXPECT_EQ(shader.location(ShaderLocation::mvpMatrix), 0);
    EXPECT_EQ(shader.locations().size(), 1u);
}
