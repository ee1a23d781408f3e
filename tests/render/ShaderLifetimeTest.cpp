#include "render/Shader.h"

#include "render/ShaderTestSources.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

std::vector<GLuint> attachedShaders(GLuint program)
{
    std::vector<GLuint> shaders(4, 0);
    GLsizei count = 0;
    glGetAttachedShaders(program, static_cast<GLsizei>(shaders.size()), &count, shaders.data());
    shaders.resize(count);
    return shaders;
}

std::string writeProgram(const ScratchDir& scratch, const std::string& name, bool withGeometry)
{
    scratch.write(name + ".vert", shadertest::vertexSource);
    scratch.write(name + ".frag", shadertest::fragmentSource);
    if (withGeometry) {
        scratch.write(name + ".geom", shadertest::geometrySource);
    }
    return (scratch.path() / name).string();
}

} // namespace

TEST(ShaderLifetime, BindFragmentOutputRelinksTheSameProgram)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    Shader shader(writeProgram(scratch, "output", false));
    const GLuint program = shader.program();
    ASSERT_NE(program, 0u);
    // Moves the output away from 0 first, so only a binding that is linked can bring it back.
    glBindFragDataLocation(program, 1, "out_color");
    shader.link();
    ASSERT_EQ(glGetFragDataLocation(program, "out_color"), 1);

    CaptureStdout();
    CaptureStderr();
    bindFragmentOutput(shader, "out_color");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(shader.program(), program);
    EXPECT_EQ(glGetFragDataLocation(program, "out_color"), 0);
}

TEST(ShaderLifetime, BindFragmentOutputLeavesAFailedProgramAlone)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("failed.vert", shadertest::brokenVertexSource);
    scratch.write("failed.frag", shadertest::fragmentSource);
    CaptureStdout();
    Shader shader((scratch.path() / "failed").string());
    GetCapturedStdout();
    ASSERT_EQ(shader.program(), 0u);

    CaptureStdout();
    CaptureStderr();
    bindFragmentOutput(shader, "out_color");
    bindFragmentOutput(shader, "out_color");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(shader.program(), 0u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    for (GLuint id = 1; id <= 64; ++id) {
        EXPECT_FALSE(glIsProgram(id)) << id;
    }
}

TEST(ShaderLifetime, DestructorDeletesProgramAndBothShaders)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    auto shader = std::make_unique<Shader>(writeProgram(scratch, "plain", false));
    const GLuint program = shader->program();
    ASSERT_NE(program, 0u);
    const std::vector<GLuint> stages = attachedShaders(program);
    ASSERT_EQ(stages.size(), 2u);

    shader.reset();
    EXPECT_FALSE(glIsProgram(program));
    for (GLuint stage : stages) {
        EXPECT_FALSE(glIsShader(stage)) << stage;
    }
    EXPECT_FALSE(shadertest::anyProgramOrShaderUpTo(64));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ShaderLifetime, DestructorDeletesTheGeometryShaderToo)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    auto shader = std::make_unique<Shader>(writeProgram(scratch, "cube", true));
    const GLuint program = shader->program();
    ASSERT_NE(program, 0u);
    ASSERT_EQ(attachedShaders(program).size(), 3u);

    shader.reset();
    EXPECT_FALSE(shadertest::anyProgramOrShaderUpTo(64));
}

TEST(ShaderLifetime, FailedProgramStillDeletesItsShaders)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("failed.vert", shadertest::brokenVertexSource);
    scratch.write("failed.frag", shadertest::fragmentSource);
    CaptureStdout();
    auto shader = std::make_unique<Shader>((scratch.path() / "failed").string());
    GetCapturedStdout();
    ASSERT_EQ(shader->program(), 0u);
    // The stages outlive the failed link; they belong to the Shader until it goes.
    EXPECT_TRUE(shadertest::anyProgramOrShaderUpTo(64));

    shader.reset();
    EXPECT_FALSE(shadertest::anyProgramOrShaderUpTo(64));
}

TEST(ShaderLifetime, MovingHandsTheGLObjectsOver)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    Shader first(writeProgram(scratch, "moved", true));
    const GLuint program = first.program();
    ASSERT_NE(program, 0u);

    Shader second(std::move(first));
    EXPECT_EQ(first.program(), 0u);
    EXPECT_FALSE(first.hasGeometryShader());
    EXPECT_EQ(second.program(), program);
    EXPECT_TRUE(second.hasGeometryShader());
    EXPECT_EQ(second.location(ShaderLocation::in_position), shadertest::positionLocation);

    Shader third(writeProgram(scratch, "other", false));
    const GLuint replaced = third.program();
    third = std::move(second);
    EXPECT_FALSE(glIsProgram(replaced));
    EXPECT_EQ(third.program(), program);
    EXPECT_TRUE(glIsProgram(program));
}
