#include "render/Shader.h"

#include "render/ShaderTestSources.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <string>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

GLint attachedShaderCount(GLuint program)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ATTACHED_SHADERS, &count);
    return count;
}

} // namespace

TEST(ShaderBuild, MissingVertexFileIsOneErrorLineAndNoGLObject)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    // Neither file exists: a second message would mean the fragment file was looked at.
    const std::string base = (scratch.path() / "nothing").string();
    CaptureStdout();
    CaptureStderr();
    Shader shader(base);
    EXPECT_EQ(GetCapturedStderr(), "Vertex shader file " + base + ".vert does not exist.\n");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(shader.program(), 0u);
    EXPECT_FALSE(shader.hasGeometryShader());
    EXPECT_TRUE(shader.locations().empty());
    EXPECT_FALSE(shadertest::anyProgramOrShaderUpTo(64));
}

TEST(ShaderBuild, MissingFragmentFileIsOneErrorLineAndNoGLObject)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("vertexOnly.vert", shadertest::vertexSource);
    const std::string base = (scratch.path() / "vertexOnly").string();
    CaptureStdout();
    CaptureStderr();
    Shader shader(base);
    EXPECT_EQ(GetCapturedStderr(), "Fragment shader file " + base + ".frag does not exist.\n");
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(shader.program(), 0u);
    EXPECT_FALSE(shadertest::anyProgramOrShaderUpTo(64));
}

TEST(ShaderBuild, CompileErrorPrintsTheLogAndTheLinkFails)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("broken.vert", shadertest::brokenVertexSource);
    scratch.write("broken.frag", shadertest::fragmentSource);
    CaptureStdout();
    CaptureStderr();
    Shader shader((scratch.path() / "broken").string());
    const std::string out = GetCapturedStdout();
    EXPECT_EQ(GetCapturedStderr(), "");

    const std::string compileFailed = "Shader compilation failed.\n";
    const std::string linkFailed = "Shader linking failed.\n";
    ASSERT_EQ(out.rfind(compileFailed, 0), 0u) << out;
    const std::size_t linkAt = out.find(linkFailed);
    ASSERT_NE(linkAt, std::string::npos) << out;
    // The driver's compile log sits between the two messages.
    const std::string compileLog = out.substr(compileFailed.size(), linkAt - compileFailed.size());
    EXPECT_NE(compileLog.find("error"), std::string::npos) << compileLog;
    EXPECT_EQ(out.find(compileFailed, compileFailed.size()), std::string::npos) << "only one stage failed";

    EXPECT_EQ(shader.program(), 0u);
    EXPECT_TRUE(shader.locations().empty());
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(ShaderBuild, TwoStageProgramLinksSilently)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("plain.vert", shadertest::vertexSource);
    scratch.write("plain.frag", shadertest::fragmentSource);
    CaptureStdout();
    CaptureStderr();
    Shader shader((scratch.path() / "plain").string());
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");

    ASSERT_NE(shader.program(), 0u);
    EXPECT_TRUE(glIsProgram(shader.program()));
    EXPECT_FALSE(shader.hasGeometryShader());
    EXPECT_EQ(attachedShaderCount(shader.program()), 2);
    GLint linked = GL_FALSE;
    glGetProgramiv(shader.program(), GL_LINK_STATUS, &linked);
    EXPECT_EQ(linked, GL_TRUE);
}

TEST(ShaderBuild, GeometryFileMakesAThreeStageProgram)
{
    GL_TEST_SETUP(context);
    ScratchDir scratch;
    scratch.write("cube.vert", shadertest::vertexSource);
    scratch.write("cube.frag", shadertest::fragmentSource);
    scratch.write("cube.geom", shadertest::geometrySource);
    CaptureStdout();
    CaptureStderr();
    Shader shader((scratch.path() / "cube").string());
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");

    ASSERT_NE(shader.program(), 0u);
    EXPECT_TRUE(shader.hasGeometryShader());
    EXPECT_EQ(attachedShaderCount(shader.program()), 3);
    GLint outputType = 0;
    glGetProgramiv(shader.program(), GL_GEOMETRY_OUTPUT_TYPE, &outputType);
    EXPECT_EQ(outputType, GL_TRIANGLE_STRIP);
}
