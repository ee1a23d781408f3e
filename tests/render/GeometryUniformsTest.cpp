#include "render/Geometry.h"

#include "app/Settings.h"
#include "assets/Mesh.h"
#include "render/Shader.h"
#include "scene/Camera.h"

#include "assets/MeshTestFiles.h"
#include "scene/GlmExpectations.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <array>
#include <string>

using glm_expectations::near;

namespace {

// Every uniform a lit draw sends feeds the output, so none is optimised away
// and each can be read back.
const std::string litVertex = R"(#version 330 core
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
uniform mat4 mvpMatrix;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
uniform vec4 cameraPos;
uniform mat4 texMat_model1;
uniform mat4 texMat_model2;
uniform mat4 texMat_model3;
out vec3 shade;
out vec2 texCoords;
void main()
{
    vec4 world = modelMatrix * in_position;
    vec4 shadows = texMat_model1 * world + texMat_model2 * world + texMat_model3 * world;
    shade = normalMatrix * in_normal + in_color + (world - cameraPos).xyz + shadows.xyz;
    texCoords = in_texCoords;
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string litFragment = R"(#version 330 core
in vec3 shade;
in vec2 texCoords;
uniform mat3 reflectionCoefficient;
uniform float shininess;
uniform sampler2D colorMap;
uniform int useTexture;
uniform int isReflective;
out vec4 out_color;
void main()
{
    vec4 texel = useTexture == 1 ? texture(colorMap, texCoords) : vec4(1.0);
    out_color = vec4(reflectionCoefficient * shade * shininess, float(isReflective)) * texel;
}
)";

const std::string velocityVertex = R"(#version 330 core
layout(location = 0) in vec4 in_position;
uniform mat4 mvpMatrix;
uniform mat4 prev_mvpMatrix;
out vec4 previous;
void main()
{
    previous = prev_mvpMatrix * in_position;
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string velocityFragment = R"(#version 330 core
in vec4 previous;
out vec4 out_color;
void main()
{
    out_color = previous;
}
)";

// Two entries side by side in front of a camera that looks down -Z.
const std::string twoEntriesObj = R"(v -3 -1 -5
v -1 -1 -5
v -2 1 -5
v 1 -1 -5
v 3 -1 -5
v 2 1 -5
o left
f 1 2 3
o right
f 4 5 6
)";

std::string writeProgram(const ScratchDir& folder, const std::string& name, const std::string& vertex,
                         const std::string& fragment)
{
    folder.write(name + ".vert", vertex);
    folder.write(name + ".frag", fragment);
    return (folder.path() / name).string();
}

template <typename Value>
Value readUniform(Shader& program, ShaderLocation key)
{
    Value value(0.0f);
    EXPECT_GE(program.location(key), 0) << "the test program lost a uniform";
    glGetUniformfv(program.program(), program.location(key), glm::value_ptr(value));
    return value;
}

float readFloat(Shader& program, ShaderLocation key)
{
    float value = -1.0f;
    EXPECT_GE(program.location(key), 0) << "the test program lost a uniform";
    glGetUniformfv(program.program(), program.location(key), &value);
    return value;
}

GLint readInt(Shader& program, ShaderLocation key)
{
    GLint value = -1;
    EXPECT_GE(program.location(key), 0) << "the test program lost a uniform";
    glGetUniformiv(program.program(), program.location(key), &value);
    return value;
}

// Neither a value any draw sends nor zero, so a uniform left alone shows.
const glm::mat4 sentinel(7.0f);

glm::mat4 lightMatrix(float offset)
{
    return glm::translate(glm::mat4(0.5f), glm::vec3(offset, -offset, 0.0f));
}

// A prepared two-entry geometry, moved away from the origin and seen by a
// camera that has moved too, with the lit program current.
struct LitScene {
    explicit LitScene(bool textured)
    {
        files.texture("white.png");
        loaded = geometry.mesh->loadMesh(files.model("two.obj", twoEntriesObj), false);
        geometry.prepare(lit, textured);
        geometry.translate(0.5f, 0.0f, -5.0f);
        geometry.rotateY(20.0f);
        geometry.setLightMatrices(lightMatrix(1.0f), lightMatrix(2.0f), lightMatrix(3.0f));
        camera.translate(1.0f, 2.0f, 10.0f);
        glUseProgram(lit.program());
    }
    ~LitScene()
    {
        glUseProgram(0);
        frustumCulling = savedCulling;
        drawCounter = savedCounter;
    }
    LitScene(const LitScene&) = delete;
    LitScene& operator=(const LitScene&) = delete;

    glm::mat4 viewProjection() const { return *camera.projectionMatrix * *camera.inverseModelMatrix; }

    const bool savedCulling = frustumCulling;
    const std::uint32_t savedCounter = drawCounter;
    ScratchDir folder;
    meshtest::MeshFiles files{true};
    Shader lit{writeProgram(folder, "lit", litVertex, litFragment)};
    Shader velocity{writeProgram(folder, "velocity", velocityVertex, velocityFragment)};
    Geometry geometry;
    Camera camera;
    bool loaded = false;
};

} // namespace

TEST(GeometryUniforms, LitDrawSendsTheTransformsOfObjectAndCamera)
{
    GL_TEST_SETUP(context);
    LitScene scene(true);
    ASSERT_TRUE(scene.loaded);
    Geometry& geometry = scene.geometry;

    geometry.draw(scene.camera);

    Shader& lit = scene.lit;
    const glm::mat4 model = *geometry.modelMatrix;
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::vec4>(lit, ShaderLocation::cameraPos), glm::vec4(1.0f, 2.0f, 10.0f, 1.0f)));
    const glm::mat3 normal = readUniform<glm::mat3>(lit, ShaderLocation::normalMatrix);
    for (int column = 0; column < 3; ++column) {
        EXPECT_TRUE(near(normal[column], geometry.normalMatrix()[column]));
    }
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::texMat_model1), lightMatrix(1.0f) * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::texMat_model2), lightMatrix(2.0f) * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::texMat_model3), lightMatrix(3.0f) * model));
    EXPECT_FLOAT_EQ(readFloat(lit, ShaderLocation::shininess), 50.0f);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GeometryUniforms, TextureSwitchFollowsThePreparedFlag)
{
    GL_TEST_SETUP(context);
    {
        LitScene textured(true);
        glUniform1i(textured.lit.location(ShaderLocation::colorMap), 3);
        textured.geometry.draw(textured.camera);
        EXPECT_EQ(readInt(textured.lit, ShaderLocation::useTexture), 1);
        EXPECT_EQ(readInt(textured.lit, ShaderLocation::colorMap), 0);
    }
    LitScene plain(false);
    glUniform1i(plain.lit.location(ShaderLocation::useTexture), 1);
    plain.geometry.draw(plain.camera);
    EXPECT_EQ(readInt(plain.lit, ShaderLocation::useTexture), 0);
}

TEST(GeometryUniforms, AnObjectWithoutColoursReflectsNothing)
{
    GL_TEST_SETUP(context);
    LitScene scene(false);
    // What an earlier object with a material would have left behind.
    glUniformMatrix3fv(scene.lit.location(ShaderLocation::reflectionCoefficient), 1, GL_FALSE,
                       glm::value_ptr(glm::mat3(0.8f)));

    scene.geometry.draw(scene.camera);

    const glm::mat3 reflection = readUniform<glm::mat3>(scene.lit, ShaderLocation::reflectionCoefficient);
    for (int column = 0; column < 3; ++column) {
        EXPECT_TRUE(near(reflection[column], glm::vec3(0.0f))) << "column " << column;
    }
    // Reading the absent colours entered them as black.
    EXPECT_EQ(scene.geometry.materialColors.size(), 3u);
}

TEST(GeometryUniforms, ReflectionColumnsAreAmbientDiffuseSpecular)
{
    GL_TEST_SETUP(context);
    LitScene scene(false);
    Geometry& geometry = scene.geometry;
    geometry.materialColors[Geometry::diffuseColor] = {0.6f, 0.5f, 0.4f};
    geometry.materialColors[Geometry::specularColor] = {0.3f, 0.2f, 0.1f};
    geometry.materialColors[Geometry::ambientColor] = {0.05f, 0.06f, 0.07f};
    geometry.shininess = 150.0f;

    geometry.draw(scene.camera);

    const glm::mat3 reflection = readUniform<glm::mat3>(scene.lit, ShaderLocation::reflectionCoefficient);
    EXPECT_TRUE(near(reflection[0], glm::vec3(0.05f, 0.06f, 0.07f)));
    EXPECT_TRUE(near(reflection[1], glm::vec3(0.6f, 0.5f, 0.4f)));
    EXPECT_TRUE(near(reflection[2], glm::vec3(0.3f, 0.2f, 0.1f)));
    EXPECT_FLOAT_EQ(readFloat(scene.lit, ShaderLocation::shininess), 150.0f);
}

TEST(GeometryUniforms, LitDrawsLeaveTheReflectiveSwitchOffEvenWhenCulled)
{
    GL_TEST_SETUP(context);
    LitScene scene(true);
    frustumCulling = true;
    const GLint isReflective = scene.lit.location(ShaderLocation::isReflective);

    glUniform1i(isReflective, 1);
    scene.geometry.draw(scene.camera);
    EXPECT_EQ(readInt(scene.lit, ShaderLocation::isReflective), 0);

    // Behind the camera now.
    scene.geometry.translate(0.0f, 0.0f, 40.0f);
    glUniform1i(isReflective, 1);
    scene.geometry.draw(scene.camera);
    EXPECT_EQ(readInt(scene.lit, ShaderLocation::isReflective), 0);
}

TEST(GeometryUniforms, BorrowedLitDrawUsesTheGivenTransforms)
{
    GL_TEST_SETUP(context);
    LitScene scene(true);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(-1.0f, 0.5f, -3.0f));
    const glm::mat3 normal(2.0f);
    const std::array<glm::mat4, 3> shadows{lightMatrix(4.0f), lightMatrix(5.0f), lightMatrix(6.0f)};
    BoundingSphere sphere({-1.0f, 0.5f, -8.0f}, 3.0f);

    scene.geometry.drawWithTransform(scene.camera, model, normal, sphere, shadows);

    Shader& lit = scene.lit;
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::mat3>(lit, ShaderLocation::normalMatrix)[1], glm::vec3(0.0f, 2.0f, 0.0f)));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::texMat_model1), shadows[0]));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::texMat_model3), shadows[2]));
}

TEST(GeometryUniforms, CubeMapDrawLooksFromTheCubeCentreAndLeavesTheRestAlone)
{
    GL_TEST_SETUP(context);
    LitScene scene(true);
    Shader& lit = scene.lit;
    glUniformMatrix4fv(lit.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(sentinel));
    glUniform1i(lit.location(ShaderLocation::isReflective), 1);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(3.0f, 0.0f, 0.0f));
    const std::array<glm::mat4, 3> shadows{lightMatrix(7.0f), lightMatrix(8.0f), lightMatrix(9.0f)};
    drawCounter = 11;

    scene.geometry.drawToCubeMap(lit, {2.0f, 1.0f, 0.0f}, model, glm::mat3(1.0f), shadows);

    EXPECT_TRUE(near(readUniform<glm::vec4>(lit, ShaderLocation::cameraPos), glm::vec4(2.0f, 1.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::texMat_model2), shadows[1]));
    EXPECT_EQ(readInt(lit, ShaderLocation::useTexture), 1);
    EXPECT_TRUE(near(readUniform<glm::mat4>(lit, ShaderLocation::mvpMatrix), sentinel));
    EXPECT_EQ(readInt(lit, ShaderLocation::isReflective), 1);
    EXPECT_EQ(drawCounter, 11u);
}

TEST(GeometryUniforms, VelocityDrawSeesOnlyTheCameraMove)
{
    GL_TEST_SETUP(context);
    LitScene scene(false);
    const glm::mat4 previousView = *scene.camera.projectionMatrix * *scene.camera.inverseModelMatrix;
    scene.camera.storePreviousTransform();
    scene.camera.translate(0.5f, 0.0f, 0.0f);
    glUseProgram(scene.velocity.program());

    scene.geometry.drawVelocity(scene.camera, scene.velocity);

    const glm::mat4 model = *scene.geometry.modelMatrix;
    Shader& velocity = scene.velocity;
    EXPECT_TRUE(near(readUniform<glm::mat4>(velocity, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(velocity, ShaderLocation::prev_mvpMatrix), previousView * model));
}

TEST(GeometryUniforms, BorrowedVelocityDrawUsesBothGivenModels)
{
    GL_TEST_SETUP(context);
    LitScene scene(false);
    const glm::mat4 previousView = *scene.camera.projectionMatrix * *scene.camera.inverseModelMatrix;
    scene.camera.storePreviousTransform();
    scene.camera.rotateY(5.0f);
    glUseProgram(scene.velocity.program());
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -4.0f));
    const glm::mat4 previousModel = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, -3.0f));

    scene.geometry.drawVelocityWithTransform(scene.camera, scene.velocity, model, previousModel,
                                             scene.geometry.mesh->boundingSphere);

    Shader& velocity = scene.velocity;
    EXPECT_TRUE(near(readUniform<glm::mat4>(velocity, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(velocity, ShaderLocation::prev_mvpMatrix), previousView * previousModel));
}
