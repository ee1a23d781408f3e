#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace rendertest;
using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

struct ProgramContract {
    std::string base;
    std::vector<std::string> attributes; // read by the program, each at its shared location
    std::vector<std::string> uniforms;   // set by the frame: a misspelt or unused one would be ignored silently
};

// One vertex array serves every program, so an attribute sits at the same location everywhere.
const std::vector<std::string> sharedLocations = {"in_position", "in_normal",  "in_color",
                                                  "in_texCoords", "in_tangent", "in_bitangent"};

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

} // namespace

TEST(LitShaderPrograms, EachBuildsSilentlyWithItsAttributesAtTheSharedLocationsAndItsUniformsLive)
{
    GL_TEST_SETUP(context);
    const std::vector<ProgramContract> contracts = {
        {"phongShader", {"in_position", "in_normal", "in_color", "in_texCoords"},
         with(litUniforms, {"isReflective", "environmentMap"})},
        {"parallaxShader", sharedLocations, with(litUniforms, {"normalMap", "heightMap", "specularMap", "useSpecularMap"})},
        {"blurShader", {"in_position"}, {"mvpMatrix", "prev_mvpMatrix", "colorMap", "blurScale"}},
        {"particleShader", {"in_position", "in_color"}, {"mvpMatrix", "cameraPos", "shininess", "colorMap"}},
    };
    for (const ProgramContract& contract : contracts) {
        SCOPED_TRACE(contract.base);
        CaptureStdout();
        CaptureStderr();
        const auto program = loadProgram(contract.base);
        const std::string printed = GetCapturedStdout() + GetCapturedStderr();
        EXPECT_EQ(printed, "");
        ASSERT_NE(program->program(), 0u);
        for (GLint location = 0; location < static_cast<GLint>(sharedLocations.size()); ++location) {
            const std::string& name = sharedLocations[static_cast<std::size_t>(location)];
            const bool reads = std::find(contract.attributes.begin(), contract.attributes.end(), name) !=
                               contract.attributes.end();
            EXPECT_EQ(glGetAttribLocation(program->program(), name.c_str()), reads ? location : -1) << name;
        }
        for (const std::string& name : contract.uniforms) {
            EXPECT_NE(glGetUniformLocation(program->program(), name.c_str()), -1) << name;
        }
    }

    // The effects upload four floats of colour a particle: opacity included.
    const auto particles = loadProgram("particleShader");
    GLint count = 0;
    glGetProgramiv(particles->program(), GL_ACTIVE_ATTRIBUTES, &count);
    GLenum colorType = 0;
    for (GLint i = 0; i < count; ++i) {
        GLchar name[32] = {};
        GLint size = 0;
        GLenum type = 0;
        glGetActiveAttrib(particles->program(), static_cast<GLuint>(i), sizeof(name), nullptr, &size, &type, name);
        colorType = std::string(name) == "in_color" ? type : colorType;
    }
    EXPECT_EQ(colorType, GLenum(GL_FLOAT_VEC4));
}
