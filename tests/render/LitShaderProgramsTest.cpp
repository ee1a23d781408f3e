#include "render/LitShaderTestSupport.h"

#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

struct ProgramContract {
    std::string base;
    // Attributes the program reads, with their shared locations.
    std::vector<std::pair<std::string, GLint>> attributes;
    // Every uniform the frame sets on it: a misspelt or unused one would be
    // silently ignored by the GL.
    std::vector<std::string> uniforms;
};

const std::vector<std::string> litUniforms = {
    "mvpMatrix", "modelMatrix", "normalMatrix", "cameraPos", "lightPosition", "lightColor", "attenuation",
    "spotDirection", "spotCosCutoff", "spotExponent", "reflectionCoefficient", "shininess", "texMat_model1",
    "texMat_model2", "texMat_model3", "varianceShadowMap1", "varianceShadowMap2", "varianceShadowMap3",
    "useTexture", "colorMap"};

std::vector<std::string> with(std::vector<std::string> names, const std::vector<std::string>& more)
{
    names.insert(names.end(), more.begin(), more.end());
    return names;
}

const std::vector<ProgramContract> contracts = {
    {"phongShader",
     {{"in_position", 0}, {"in_normal", 1}, {"in_color", 2}, {"in_texCoords", 3}},
     with(litUniforms, {"isReflective", "environmentMap"})},
    {"parallaxShader",
     {{"in_position", 0}, {"in_normal", 1}, {"in_color", 2}, {"in_texCoords", 3}, {"in_tangent", 4}, {"in_bitangent", 5}},
     with(litUniforms, {"normalMap", "heightMap", "specularMap", "useSpecularMap"})},
    {"blurShader", {{"in_position", 0}}, {"mvpMatrix", "prev_mvpMatrix", "colorMap", "blurScale"}},
    {"particleShader", {{"in_position", 0}, {"in_color", 2}}, {"mvpMatrix", "cameraPos", "shininess", "colorMap"}},
};

const std::vector<std::pair<std::string, GLint>> sharedLocations = {
    {"in_position", 0}, {"in_normal", 1}, {"in_color", 2}, {"in_texCoords", 3}, {"in_tangent", 4}, {"in_bitangent", 5}};

GLenum activeAttributeType(GLuint program, const std::string& wanted)
{
    GLint count = 0;
    glGetProgramiv(program, GL_ACTIVE_ATTRIBUTES, &count);
    for (GLint i = 0; i < count; ++i) {
        GLchar name[64] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(program, static_cast<GLuint>(i), sizeof(name), nullptr, &size, &type, name);
        if (wanted == name) {
            return type;
        }
    }
    return 0;
}

} // namespace

TEST(LitShaderPrograms, EachBuildsOnThisDriverWithoutAMessage)
{
    GL_TEST_SETUP(context);
    for (const ProgramContract& contract : contracts) {
        CaptureStdout();
        CaptureStderr();
        const auto program = litshader::loadProgram(contract.base);
        const std::string out = GetCapturedStdout();
        const std::string err = GetCapturedStderr();
        EXPECT_NE(program->program(), 0u) << contract.base << "\n" << out << err;
        EXPECT_EQ(out.find("Shader compilation failed."), std::string::npos) << contract.base << "\n" << out;
        EXPECT_EQ(out.find("Shader linking failed."), std::string::npos) << contract.base << "\n" << out;
        EXPECT_EQ(err, "") << contract.base;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(LitShaderPrograms, AttributesSitAtTheSharedLocations)
{
    GL_TEST_SETUP(context);
    for (const ProgramContract& contract : contracts) {
        const auto program = litshader::loadProgram(contract.base);
        ASSERT_NE(program->program(), 0u) << contract.base;
        for (const auto& [name, location] : contract.attributes) {
            EXPECT_EQ(glGetAttribLocation(program->program(), name.c_str()), location)
                << contract.base << " " << name;
        }
        // One vertex array serves every program, so an attribute a program
        // does use may never sit anywhere else.
        for (const auto& [name, location] : sharedLocations) {
            const GLint found = glGetAttribLocation(program->program(), name.c_str());
            EXPECT_TRUE(found == -1 || found == location) << contract.base << " " << name << " at " << found;
        }
    }

    // The effects upload four floats of colour a particle: opacity included.
    const auto particles = litshader::loadProgram("particleShader");
    ASSERT_NE(particles->program(), 0u);
    EXPECT_EQ(activeAttributeType(particles->program(), "in_color"), GLenum(GL_FLOAT_VEC4));
}

TEST(LitShaderPrograms, EveryUniformTheFrameSetsIsLive)
{
    GL_TEST_SETUP(context);
    for (const ProgramContract& contract : contracts) {
        const auto program = litshader::loadProgram(contract.base);
        ASSERT_NE(program->program(), 0u) << contract.base;
        for (const std::string& name : contract.uniforms) {
            EXPECT_NE(glGetUniformLocation(program->program(), name.c_str()), -1) << contract.base << " " << name;
        }
    }
}
