#include "gl/GLError.h"
#include "gl/Shader.h"

#include "support/CapturedOutput.h"
#include "support/GLProgramTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <string>
#include <utility>

using namespace rendertest;

namespace {

// Fixed attribute locations, so a test can tell the cached value from a made-up one.
const std::string vertexSource = R"(#version 330 core
layout(location = 3) in vec3 in_position;
layout(location = 5) in vec3 in_normal;
uniform mat4 mvpMatrix;
void main() { gl_Position = mvpMatrix * vec4(in_position + 0.01 * in_normal, 1.0); }
)";

const std::string fragmentSource = R"(#version 330 core
uniform vec4 color;
out vec4 out_color;
void main() { out_color = color; }
)";

const std::string geometrySource = R"(#version 330 core
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
void main() { for (int i = 0; i < 3; ++i) { gl_Position = gl_in[i].gl_Position; EmitVertex(); } EndPrimitive(); }
)";

const std::string brokenVertexSource = R"(#version 330 core
in vec3 in_position;
void main() { gl_Position = vec4(in_position, 1.0) +; }
)";

// A fresh context has no program or shader object, so this tells whether a Shader left any.
bool anyProgramOrShader()
{
    for (GLuint id = 1; id <= 64; ++id) {
        if (glIsProgram(id) || glIsShader(id)) {
            return true;
        }
    }
    return false;
}

// Stands in for the GL's error query so that several queued errors can be
// replayed on any driver (Mesa keeps only the first error until it is read).
std::deque<GLenum> fakeErrors;

GLenum EPOXY_CALLSPEC takeFakeError()
{
    if (fakeErrors.empty()) {
        return GL_NO_ERROR;
    }
    const GLenum error = fakeErrors.front();
    fakeErrors.pop_front();
    return error;
}

} // namespace

TEST(ShaderBuild, AMissingStageFileIsOneErrorLineAndNoGLObject)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    // Neither file, then only the vertex file: a second line would mean a later file was looked at.
    const std::string noFiles = (folder.path() / "nothing").string();
    const std::string vertexOnly = writeSources(folder, "vertexOnly", vertexSource, "");
    const std::pair<std::string, std::string> cases[] = {
        {noFiles, "Vertex shader file " + noFiles + ".vert does not exist.\n"},
        {vertexOnly, "Fragment shader file " + vertexOnly + ".frag does not exist.\n"},
    };
    for (const auto& [base, message] : cases) {
        std::unique_ptr<Shader> shader;
        const auto [out, err] = printedOnBothBy([&] { shader = std::make_unique<Shader>(base); });
        EXPECT_EQ(err, message);
        EXPECT_EQ(out, "");
        EXPECT_EQ(shader->program(), 0u);
        EXPECT_TRUE(shader->locations().empty());
        EXPECT_FALSE(anyProgramOrShader()) << base;
    }
}

TEST(ShaderBuild, ACompileErrorPrintsTheLogAndLeavesAProgramOfZeroThatNothingRevives)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    const std::string base = writeSources(folder, "broken", brokenVertexSource, fragmentSource);
    std::unique_ptr<Shader> shader;
    const auto [out, err] = printedOnBothBy([&] { shader = std::make_unique<Shader>(base); });

    const std::string compileFailed = "Shader compilation failed.\n";
    ASSERT_EQ(out.rfind(compileFailed, 0), 0u) << out;
    const std::size_t linkAt = out.find("Shader linking failed.\n");
    ASSERT_NE(linkAt, std::string::npos) << out;
    // The driver's compile log sits between the two messages.
    const std::string compileLog = out.substr(compileFailed.size(), linkAt - compileFailed.size());
    EXPECT_NE(compileLog.find("error"), std::string::npos) << compileLog;
    EXPECT_EQ(err, "");
    EXPECT_EQ(shader->program(), 0u);
    EXPECT_TRUE(shader->locations().empty());

    // Binding the output again and again neither prints nor makes a program.
    EXPECT_EQ(printedOnBothBy([&] {
                  bindFragmentOutput(*shader, "out_color");
                  bindFragmentOutput(*shader, "out_color");
              }),
              printedNothing);
    EXPECT_EQ(shader->program(), 0u);
    for (GLuint id = 1; id <= 64; ++id) {
        EXPECT_FALSE(glIsProgram(id)) << id;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    // The failed stages still belong to the Shader and go with it.
    shader.reset();
    EXPECT_FALSE(anyProgramOrShader());
}

TEST(ShaderBuild, TwoAndThreeStageProgramsLinkSilentlyAndGoWithTheShader)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    for (const bool withGeometry : {false, true}) {
        const std::string base = writeSources(folder, withGeometry ? "three" : "two", vertexSource, fragmentSource,
                                              withGeometry ? geometrySource : "");
        std::unique_ptr<Shader> shader;
        EXPECT_EQ(printedOnBothBy([&] { shader = std::make_unique<Shader>(base); }), printedNothing);
        ASSERT_NE(shader->program(), 0u);
        EXPECT_EQ(shader->hasGeometryShader(), withGeometry);
        GLint attached = 0;
        glGetProgramiv(shader->program(), GL_ATTACHED_SHADERS, &attached);
        EXPECT_EQ(attached, withGeometry ? 3 : 2);

        shader.reset();
        EXPECT_FALSE(anyProgramOrShader()) << base;
    }
}

TEST(ShaderLocations, AreCachedAtLinkAndSurviveTheOutputBinding)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    Shader shader(writeSources(folder, "lookup", vertexSource, fragmentSource));
    const GLuint program = shader.program();
    ASSERT_NE(program, 0u);
    const GLint mvp = glGetUniformLocation(program, "mvpMatrix");
    ASSERT_NE(mvp, -1);

    auto expectCached = [&] {
        EXPECT_EQ(shader.location(ShaderLocation::in_position), 3);
        EXPECT_EQ(shader.location(ShaderLocation::in_normal), 5);
        EXPECT_EQ(shader.location(ShaderLocation::in_tangent), -1) << "an attribute the program does not declare";
        EXPECT_EQ(shader.location(ShaderLocation::mvpMatrix), mvp);
        EXPECT_EQ(shader.location(ShaderLocation::color), glGetUniformLocation(program, "color"));
        EXPECT_EQ(shader.location(ShaderLocation::lightColor), -1);
    };
    expectCached();

    // Moves the output away from 0 first, so only a binding that is linked can bring it back.
    glBindFragDataLocation(program, 1, "out_color");
    shader.link();
    ASSERT_EQ(glGetFragDataLocation(program, "out_color"), 1);
    EXPECT_EQ(printedOnBothBy([&] { bindFragmentOutput(shader, "out_color"); }), printedNothing);
    EXPECT_EQ(shader.program(), program) << "relinked in place";
    EXPECT_EQ(glGetFragDataLocation(program, "out_color"), 0);
    expectCached();
}

TEST(GLError, EachCallReportsOneQueuedErrorInOrder)
{
    const auto saved = epoxy_glGetError;
    fakeErrors = {GL_INVALID_ENUM, GL_INVALID_VALUE, 0x503};
    epoxy_glGetError = takeFakeError;
    auto reportOfOneCall = [] { return printedOnBothBy(checkGLError).second; };

    EXPECT_EQ(reportOfOneCall(), "GL: enum argument out of range.\n");
    EXPECT_EQ(reportOfOneCall(), "GL: Numeric argument out of range.\n");
    EXPECT_EQ(reportOfOneCall(), "GL: Unknown error.\n") << "a stack error has no text of its own";
    EXPECT_EQ(reportOfOneCall(), "");
    epoxy_glGetError = saved;
}
