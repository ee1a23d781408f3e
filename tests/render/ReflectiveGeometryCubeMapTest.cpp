#include "render/ReflectiveGeometry.h"

#include "assets/Mesh.h"
#include "render/CubeMapFaces.h"
#include "render/Shader.h"

#include "scene/GlmExpectations.h"
#include "support/GLTestContext.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <string>

using glm_expectations::near;

namespace {

const std::string cubeProgramPath = std::string(BRIMBOLT_SOURCE_DIR) + "/brimbolt/Shaders/environmentCubeShader";

constexpr std::array<ShaderLocation, 6> faceKeys{
    ShaderLocation::cubemapMatrix1, ShaderLocation::cubemapMatrix2, ShaderLocation::cubemapMatrix3,
    ShaderLocation::cubemapMatrix4, ShaderLocation::cubemapMatrix5, ShaderLocation::cubemapMatrix6,
};

// Each face by layer: the axis it looks along and the GL cube-map convention's up.
struct FaceView {
    glm::vec3 forward;
    glm::vec3 up;
};
constexpr std::array<FaceView, 6> faceViews{{
    {{1, 0, 0}, {0, -1, 0}},
    {{-1, 0, 0}, {0, -1, 0}},
    {{0, 1, 0}, {0, 0, 1}},
    {{0, -1, 0}, {0, 0, -1}},
    {{0, 0, 1}, {0, -1, 0}},
    {{0, 0, -1}, {0, -1, 0}},
}};

GLint framebufferParameter(GLenum attachment, GLenum parameter)
{
    GLint value = -1;
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, parameter, &value);
    return value;
}

GLint faceParameter(GLuint cube, GLenum parameter)
{
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_CUBE_MAP_POSITIVE_X, 0, parameter, &value);
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    return value;
}

// A reflective object whose bounding sphere sits at the origin of its model,
// moved so that the cube centre is at centre.
void placeAt(ReflectiveGeometry& object, const glm::vec3& centre)
{
    object.mesh->boundingSphere = BoundingSphere(glm::vec3(0.0f), 1.0f);
    object.translate(centre.x, centre.y, centre.z);
}

glm::vec3 projected(const glm::mat4& matrix, const glm::vec3& point)
{
    const glm::vec4 clip = matrix * glm::vec4(point, 1.0f);
    return glm::vec3(clip) / clip.w;
}

} // namespace

TEST(ReflectiveGeometryCubeMap, TheLayeredFramebufferIsCompleteWithBothCubesAttached)
{
    GL_TEST_SETUP(context);
    testing::internal::CaptureStdout();
    ReflectiveGeometry object;
    const std::string printed = testing::internal::GetCapturedStdout();

    EXPECT_EQ(printed.find("Error creating cube map"), std::string::npos) << printed;
    EXPECT_EQ(object.cubeSize(), 128);
    EXPECT_FALSE(object.prepared);
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, object.cubeFramebuffer());
    EXPECT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), static_cast<GLenum>(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(framebufferParameter(GL_COLOR_ATTACHMENT0, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME),
              static_cast<GLint>(object.cubeColorTexture()));
    EXPECT_EQ(framebufferParameter(GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME),
              static_cast<GLint>(object.cubeDepthTexture()));
    // Layered: a whole cube, not one face, so gl_Layer picks the face.
    EXPECT_EQ(framebufferParameter(GL_COLOR_ATTACHMENT0, GL_FRAMEBUFFER_ATTACHMENT_LAYERED), GL_TRUE);
    EXPECT_EQ(framebufferParameter(GL_DEPTH_ATTACHMENT, GL_FRAMEBUFFER_ATTACHMENT_LAYERED), GL_TRUE);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    EXPECT_EQ(faceParameter(object.cubeColorTexture(), GL_TEXTURE_WIDTH), 128);
    EXPECT_EQ(faceParameter(object.cubeColorTexture(), GL_TEXTURE_HEIGHT), 128);
    EXPECT_EQ(faceParameter(object.cubeColorTexture(), GL_TEXTURE_ALPHA_SIZE), 0);
    EXPECT_GE(faceParameter(object.cubeDepthTexture(), GL_TEXTURE_DEPTH_SIZE), 24);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ReflectiveGeometryCubeMap, DestructionDeletesTheCubesAndTheFramebuffer)
{
    GL_TEST_SETUP(context);
    auto* object = new ReflectiveGeometry();
    const GLuint framebuffer = object->cubeFramebuffer();
    const GLuint colour = object->cubeColorTexture();
    const GLuint depth = object->cubeDepthTexture();
    ASSERT_TRUE(glIsFramebuffer(framebuffer));
    ASSERT_TRUE(glIsTexture(colour));

    delete object;

    EXPECT_FALSE(glIsFramebuffer(framebuffer));
    EXPECT_FALSE(glIsTexture(colour));
    EXPECT_FALSE(glIsTexture(depth));
}

TEST(ReflectiveGeometryCubeMap, TheFaceTableIsTheLookAtOfEachCubeFace)
{
    for (int layer = 0; layer < cubeMapFaceCount; ++layer) {
        const FaceView& view = faceViews[static_cast<std::size_t>(layer)];
        const glm::mat4 expected = glm::lookAt(glm::vec3(0.0f), view.forward, view.up);
        EXPECT_TRUE(near(cubeMapFaceRotation(layer), expected)) << "layer " << layer;
    }
}

TEST(ReflectiveGeometryCubeMap, EachFaceMatrixCentresItsOwnAxis)
{
    const glm::vec3 centre(2.0f, 1.0f, 0.0f);
    const std::array<glm::mat4, 6> faces = ReflectiveGeometry::cubeFaceMatrices(centre);

    for (std::size_t layer = 0; layer < faces.size(); ++layer) {
        const FaceView& view = faceViews[layer];
        // One unit along the face's axis: the middle of the face, inside the depth range.
        const glm::vec3 middle = projected(faces[layer], centre + view.forward);
        EXPECT_NEAR(middle.x, 0.0f, 1e-5f) << "layer " << layer;
        EXPECT_NEAR(middle.y, 0.0f, 1e-5f) << "layer " << layer;
        EXPECT_GT(middle.z, -1.0f) << "layer " << layer;
        EXPECT_LT(middle.z, 1.0f) << "layer " << layer;
        // Up and right on the face are the convention's, not mirrored.
        const glm::vec3 above = projected(faces[layer], centre + view.forward + 0.5f * view.up);
        EXPECT_NEAR(above.x, 0.0f, 1e-5f) << "layer " << layer;
        EXPECT_NEAR(above.y, 0.5f, 1e-5f) << "layer " << layer;
        const glm::vec3 right = glm::cross(view.forward, view.up);
        const glm::vec3 beside = projected(faces[layer], centre + view.forward + 0.5f * right);
        EXPECT_NEAR(beside.x, 0.5f, 1e-5f) << "layer " << layer;
        EXPECT_NEAR(beside.y, 0.0f, 1e-5f) << "layer " << layer;
        // The back of the cube is behind this face's eye.
        const glm::vec4 behind = faces[layer] * glm::vec4(centre - view.forward, 1.0f);
        EXPECT_LT(behind.w, 0.0f) << "layer " << layer;
    }
}

TEST(ReflectiveGeometryCubeMap, BeginCubeRenderSendsTheFaceMatricesForTheSphereCentre)
{
    GL_TEST_SETUP(context);
    Shader program(cubeProgramPath);
    ASSERT_NE(program.program(), 0u);
    ASSERT_TRUE(program.hasGeometryShader());
    ReflectiveGeometry object;
    placeAt(object, {2.0f, 1.0f, 0.0f});
    EXPECT_TRUE(near(object.cubeCentre(), glm::vec3(2.0f, 1.0f, 0.0f)));
    glUseProgram(program.program());

    object.beginCubeRender(program);

    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, static_cast<GLint>(object.cubeFramebuffer()));
    std::array<GLint, 4> viewport{};
    glGetIntegerv(GL_VIEWPORT, viewport.data());
    EXPECT_EQ(viewport, (std::array<GLint, 4>{0, 0, 128, 128}));

    const std::array<glm::mat4, 6> expected = ReflectiveGeometry::cubeFaceMatrices({2.0f, 1.0f, 0.0f});
    for (std::size_t layer = 0; layer < faceKeys.size(); ++layer) {
        ASSERT_GE(program.location(faceKeys[layer]), 0) << "layer " << layer;
        glm::mat4 sent(0.0f);
        glGetUniformfv(program.program(), program.location(faceKeys[layer]), glm::value_ptr(sent));
        EXPECT_TRUE(near(sent, expected[layer])) << "layer " << layer;
    }

    // The point one unit along +X from the centre lands in the middle of the +X face.
    glm::mat4 positiveX(0.0f);
    glGetUniformfv(program.program(), program.location(ShaderLocation::cubemapMatrix1), glm::value_ptr(positiveX));
    const glm::vec3 middle = projected(positiveX, {3.0f, 1.0f, 0.0f});
    EXPECT_NEAR(middle.x, 0.0f, 1e-5f);
    EXPECT_NEAR(middle.y, 0.0f, 1e-5f);

    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ReflectiveGeometryCubeMap, TheFaceMatricesFollowTheObject)
{
    GL_TEST_SETUP(context);
    Shader program(cubeProgramPath);
    ASSERT_NE(program.program(), 0u);
    ReflectiveGeometry object;
    placeAt(object, {2.0f, 1.0f, 0.0f});
    object.translate(0.0f, 0.0f, -4.0f);
    glUseProgram(program.program());

    object.beginCubeRender(program);

    glm::mat4 positiveZ(0.0f);
    glGetUniformfv(program.program(), program.location(ShaderLocation::cubemapMatrix5), glm::value_ptr(positiveZ));
    const glm::vec3 middle = projected(positiveZ, {2.0f, 1.0f, -3.0f});
    EXPECT_NEAR(middle.x, 0.0f, 1e-5f);
    EXPECT_NEAR(middle.y, 0.0f, 1e-5f);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
