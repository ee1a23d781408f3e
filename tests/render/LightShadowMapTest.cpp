#include "render/Light.h"

#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <string>
#include <vector>

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

namespace {

const std::string sourceShaders = BRIMBOLT_SOURCE_DIR "/brimbolt/Shaders/";

// Points the light's blur program at a folder for one test and back afterwards.
class ShaderDirectory {
public:
    explicit ShaderDirectory(const std::string& directory) : previous(Light::shaderDirectory())
    {
        Light::setShaderDirectory(directory);
    }
    ~ShaderDirectory() { Light::setShaderDirectory(previous); }
    ShaderDirectory(const ShaderDirectory&) = delete;
    ShaderDirectory& operator=(const ShaderDirectory&) = delete;

private:
    std::string previous;
};

// The depth scale shadowShader.frag divides the light distance by.
constexpr float shadowDepthRange = 128.0f;

// A unit cube as 12 triangles, positions with w = 1 as the mesh vertices carry them.
std::vector<glm::vec4> unitCubeTriangles()
{
    const std::array<glm::vec4, 8> corner = {
        glm::vec4(-0.5f, -0.5f, -0.5f, 1.0f), glm::vec4(0.5f, -0.5f, -0.5f, 1.0f),
        glm::vec4(0.5f, 0.5f, -0.5f, 1.0f),   glm::vec4(-0.5f, 0.5f, -0.5f, 1.0f),
        glm::vec4(-0.5f, -0.5f, 0.5f, 1.0f),  glm::vec4(0.5f, -0.5f, 0.5f, 1.0f),
        glm::vec4(0.5f, 0.5f, 0.5f, 1.0f),    glm::vec4(-0.5f, 0.5f, 0.5f, 1.0f)};
    // Counter-clockwise from outside, so back-face culling would keep the near faces.
    const std::array<int, 36> index = {4, 5, 6, 4, 6, 7, 1, 0, 3, 1, 3, 2, 0, 4, 7, 0, 7, 3,
                                       5, 1, 2, 5, 2, 6, 3, 7, 6, 3, 6, 2, 0, 1, 5, 0, 5, 4};
    std::vector<glm::vec4> triangles;
    for (int i : index) {
        triangles.push_back(corner[static_cast<std::size_t>(i)]);
    }
    return triangles;
}

// A 20 x 20 square in the x-y plane, centred on the origin.
std::vector<glm::vec4> squareTriangles()
{
    const glm::vec4 a(-10.0f, -10.0f, 0.0f, 1.0f), b(10.0f, -10.0f, 0.0f, 1.0f);
    const glm::vec4 c(10.0f, 10.0f, 0.0f, 1.0f), d(-10.0f, 10.0f, 0.0f, 1.0f);
    return {a, b, c, a, c, d};
}

// Draws triangles into the light's shadow map the way the frame pipeline draws a caster.
void drawIntoShadowMap(const Light& light, Shader& shadowProgram,
                       const std::vector<glm::vec4>& cube, const glm::mat4& model)
{
    GLuint vertexArray = 0;
    GLuint buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(cube.size() * sizeof(glm::vec4)), cube.data(),
                 GL_STATIC_DRAW);
    const GLuint positionLocation = 0; // shared by every geometry program
    glVertexAttribPointer(positionLocation, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(positionLocation);

    glBindFramebuffer(GL_FRAMEBUFFER, light.shadowFramebuffer());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 1024, 1024);
    glEnable(GL_DEPTH_TEST);
    glUseProgram(shadowProgram.program());
    const glm::mat4 projection = glm::perspective(glm::radians(120.0f), 1.0f, light.nearPlane(),
                                                  light.farPlane());
    const glm::mat4 mvp = projection * *light.inverseModelMatrix * model;
    glUniformMatrix4fv(shadowProgram.location(ShaderLocation::mvpMatrix), 1, GL_FALSE,
                       glm::value_ptr(mvp));
    glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(cube.size()));

    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vertexArray);
}

void blur(Light& light)
{
    glDisable(GL_DEPTH_TEST);
    glUseProgram(light.blurShader().program());
    glBindVertexArray(light.quadVertexArray());
    light.blurShadowMap();
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
}

class MomentsImage {
public:
    explicit MomentsImage(GLuint texture) : texels(1024 * 1024)
    {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_FLOAT, texels.data());
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    const glm::vec4& at(int column, int row) const
    {
        return texels[static_cast<std::size_t>(row) * 1024 + static_cast<std::size_t>(column)];
    }

private:
    std::vector<glm::vec4> texels;
};

// Names are handed out from 1 in a fresh context, so the first few cover
// everything one light makes.
bool anyGLObjectUpTo(GLuint lastName)
{
    for (GLuint name = 1; name <= lastName; ++name) {
        if (glIsTexture(name) || glIsFramebuffer(name) || glIsBuffer(name) || glIsVertexArray(name)) {
            return true;
        }
    }
    return false;
}

// What a lit program makes of the moments for a receiver at depth t, as
// shadowShader.frag tells it to.
float visibility(const glm::vec4& moments, float t)
{
    if (t <= moments.r) {
        return 1.0f;
    }
    const float variance = std::max(moments.g - moments.r * moments.r, 1.0e-6f);
    const float delta = t - moments.r;
    const float pMax = variance / (variance + delta * delta);
    return std::clamp((pMax - 0.3f) / 0.7f, 0.0f, 1.0f);
}

GLenum framebufferStatus(GLuint framebuffer)
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    const GLenum status = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return status;
}

} // namespace

TEST(LightShadowMap, BothFramebuffersAreCompleteWithoutAMessage)
{
    GL_TEST_SETUP(context);
    ShaderDirectory shaders(sourceShaders);
    CaptureStdout();
    CaptureStderr();
    Light light(0.5f, 3.0f);
    EXPECT_EQ(GetCapturedStdout(), "");
    EXPECT_EQ(GetCapturedStderr(), "");

    EXPECT_EQ(framebufferStatus(light.shadowFramebuffer()), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(framebufferStatus(light.blurFramebuffer()), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(light.shadowMapSize(), 1024.0f);
    EXPECT_EQ(light.blurRatio(), 1.0f);

    GLint width = 0;
    GLint format = 0;
    glBindTexture(GL_TEXTURE_2D, light.blurTexture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(width, 1024) << "a blur ratio of 1 keeps the intermediate at the map's size";
    EXPECT_EQ(format, GL_RGB32F);
    glBindTexture(GL_TEXTURE_2D, light.momentsTexture());
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(format, GL_RGBA32F);
    std::array<GLfloat, 4> border{};
    glGetTexParameterfv(GL_TEXTURE_2D, GL_TEXTURE_BORDER_COLOR, border.data());
    EXPECT_EQ(border, (std::array<GLfloat, 4>{1.0f, 0.0f, 0.0f, 0.0f}));
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(LightShadowMap, BlurredMomentsHoldTheCubesDepthAndLeaveTheRestClear)
{
    GL_TEST_SETUP(context);
    ShaderDirectory shaders(sourceShaders);
    Light light(0.5f, 3.0f);
    light.updateShadowMatrices();
    Shader shadowProgram(sourceShaders + "shadowShader");
    bindFragmentOutput(shadowProgram, "out_moments");
    ASSERT_NE(shadowProgram.program(), 0u);
    ASSERT_EQ(glGetAttribLocation(shadowProgram.program(), "in_position"), 0);

    // Centred on the light's axis, its front face 5.5 units away: every visible
    // texel of the cube lies on that face, at one distance.
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -6.0f));
    drawIntoShadowMap(light, shadowProgram, unitCubeTriangles(), model);
    blur(light);
    ASSERT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    const MomentsImage moments(light.momentsTexture());

    // The face covers texels 485 to 538 on both axes (half-width 0.5 / (5.5 tan 60°)
    // of the map's 512-texel half); four texels in from its edge the blur sees only the face.
    const float faceDepth = 5.5f / shadowDepthRange;
    for (int row = 490; row <= 533; ++row) {
        for (int column = 490; column <= 533; ++column) {
            const glm::vec4& texel = moments.at(column, row);
            ASSERT_NEAR(texel.r, faceDepth, 1e-6f) << "texel " << column << ", " << row;
            ASSERT_NEAR(texel.g, faceDepth * faceDepth, 1e-7f) << "texel " << column << ", " << row;
        }
    }
    // Through the blurred edge the moments stay a mixture of depths: never
    // less variance than none.
    int penumbraTexels = 0;
    for (int row = 470; row <= 553; ++row) {
        for (int column = 470; column <= 553; ++column) {
            const glm::vec4& texel = moments.at(column, row);
            ASSERT_GE(texel.g, texel.r * texel.r - 1e-9f) << "texel " << column << ", " << row;
            if (texel.r > 0.0f && texel.r < faceDepth - 1e-6f) {
                ++penumbraTexels;
            }
        }
    }
    EXPECT_GT(penumbraTexels, 0) << "the blur softens the cube's outline";
    // Off the cube, beyond the kernel's reach and away from the map's border.
    for (const glm::ivec2 texel : {glm::ivec2(100, 100), glm::ivec2(470, 512), glm::ivec2(512, 560),
                                   glm::ivec2(900, 300), glm::ivec2(512, 1000)}) {
        EXPECT_EQ(moments.at(texel.x, texel.y), glm::vec4(0.0f))
            << "texel " << texel.x << ", " << texel.y;
    }
}

TEST(LightShadowMap, ASteepReceiverDoesNotShadowItself)
{
    GL_TEST_SETUP(context);
    ShaderDirectory shaders(sourceShaders);
    Light light(0.5f, 3.0f);
    light.updateShadowMatrices();
    Shader shadowProgram(sourceShaders + "shadowShader");
    bindFragmentOutput(shadowProgram, "out_moments");
    ASSERT_NE(shadowProgram.program(), 0u);

    // 20 units away, turned 60 degrees from facing the light: each texel spans
    // a wide range of depths, where a plain depth map would show acne.
    const glm::mat4 model = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -20.0f)),
                                        glm::radians(60.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    drawIntoShadowMap(light, shadowProgram, squareTriangles(), model);
    blur(light);
    const MomentsImage moments(light.momentsTexture());

    const glm::vec3 planePoint(model[3]);
    const glm::vec3 planeNormal(model[2]);
    const float halfViewTangent = std::tan(glm::radians(60.0f));
    // Rows 480 to 620 and columns 430 to 594 lie well inside the square's image.
    for (int row = 480; row <= 620; row += 4) {
        for (int column = 430; column <= 594; column += 4) {
            // The receiver seen through this texel's centre, at distance q along the axis.
            const glm::vec3 ray((column + 0.5f) / 512.0f - 1.0f, (row + 0.5f) / 512.0f - 1.0f, -1.0f);
            const glm::vec3 direction(ray.x * halfViewTangent, ray.y * halfViewTangent, -1.0f);
            const float q = glm::dot(planeNormal, planePoint) / glm::dot(planeNormal, direction);
            ASSERT_GE(visibility(moments.at(column, row), q / shadowDepthRange), 0.99f)
                << "texel " << column << ", " << row;
        }
    }
}

TEST(LightShadowMap, MissingBlurProgramThrowsTheStartUpMessage)
{
    GL_TEST_SETUP(context);
    ScratchDir empty;
    const std::string directory = empty.path().string() + "/";
    ShaderDirectory shaders(directory);
    CaptureStderr();
    std::string thrown;
    try {
        Light light(0.5f, 3.0f);
    } catch (const char* message) {
        thrown = message;
    }
    EXPECT_EQ(thrown, "Could not compile minimal shader program.");
    EXPECT_EQ(GetCapturedStderr(),
              "Vertex shader file " + directory + "gaussianShader.vert does not exist.\n");
    EXPECT_FALSE(anyGLObjectUpTo(32)) << "the textures and framebuffers made before the throw are freed";
}

TEST(LightShadowMap, DestroyingALightFreesItsGLObjects)
{
    GL_TEST_SETUP(context);
    ShaderDirectory shaders(sourceShaders);
    {
        Light light(0.5f, 3.0f);
        ASSERT_TRUE(glIsTexture(light.momentsTexture()));
        ASSERT_TRUE(glIsVertexArray(light.quadVertexArray()));
        ASSERT_TRUE(glIsProgram(light.blurShader().program()));
    }
    EXPECT_FALSE(anyGLObjectUpTo(32));
    EXPECT_FALSE(glIsProgram(1) || glIsProgram(2) || glIsProgram(3));
}
