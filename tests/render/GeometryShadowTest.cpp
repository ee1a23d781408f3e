#include "render/Geometry.h"

#include "app/Settings.h"
#include "assets/Mesh.h"
#include "render/Light.h"
#include "render/Shader.h"
#include "scene/ViewFrustum.h"

#include "assets/MeshTestFiles.h"
#include "scene/GlmExpectations.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <string>

using glm_expectations::near;

namespace {

const std::string shadowVertex = R"(#version 330 core
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
uniform mat4 mvpMatrix;
void main()
{
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string shadowFragment = R"(#version 330 core
out vec4 out_moments;
void main()
{
    float depth = gl_FragCoord.z;
    out_moments = vec4(depth, depth * depth, 0.0, 1.0);
}
)";

const std::string triangleObj = R"(v -1 0 -1
v 1 0 -1
v 0 0 1
f 1 2 3
)";

// The light's blur program comes from the source tree, wherever the tests run.
class SourceShaders {
public:
    SourceShaders() : previous(Light::shaderDirectory())
    {
        Light::setShaderDirectory(BRIMBOLT_SOURCE_DIR "/brimbolt/Shaders/");
    }
    ~SourceShaders() { Light::setShaderDirectory(previous); }
    SourceShaders(const SourceShaders&) = delete;
    SourceShaders& operator=(const SourceShaders&) = delete;

private:
    std::string previous;
};

std::string writeProgram(const ScratchDir& folder)
{
    folder.write("shadow.vert", shadowVertex);
    folder.write("shadow.frag", shadowFragment);
    return (folder.path() / "shadow").string();
}

// A prepared triangle and the shadow program, current.
struct ShadowScene {
    ShadowScene()
    {
        files.texture("white.png");
        loaded = geometry.mesh->loadMesh(files.model("triangle.obj", triangleObj), false);
        geometry.prepare(program, false);
        glUseProgram(program.program());
        location = program.location(ShaderLocation::mvpMatrix);
    }
    ~ShadowScene()
    {
        glUseProgram(0);
        frustumCulling = savedCulling;
    }
    ShadowScene(const ShadowScene&) = delete;
    ShadowScene& operator=(const ShadowScene&) = delete;

    glm::mat4 sentMatrix() const
    {
        glm::mat4 sent(0.0f);
        glGetUniformfv(program.program(), location, glm::value_ptr(sent));
        return sent;
    }

    const bool savedCulling = frustumCulling;
    ScratchDir folder;
    meshtest::MeshFiles files{true};
    Shader program{writeProgram(folder)};
    Geometry geometry;
    GLint location = -1;
    bool loaded = false;
};

const glm::mat4 sentinel(7.0f);

} // namespace

TEST(GeometryShadow, ProjectsThroughTheLightsWideSquareCone)
{
    GL_TEST_SETUP(context);
    ShadowScene scene;
    ASSERT_TRUE(scene.loaded);
    ASSERT_GE(scene.location, 0);
    // A light at (0, 10, 0) looking straight down.
    const glm::mat4 lightModel = glm::rotate(glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f)),
                                             glm::radians(-90.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    const glm::mat4 lightView = glm::inverse(lightModel);
    ViewFrustum frustum(120.0f, 1.0f, 2.0f, 40.0f);
    frustum.update(lightModel, glm::mat3(glm::transpose(lightView)));
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 0.0f, 0.5f));

    scene.geometry.drawShadow(ShadowCaster(frustum, 2.0f, 40.0f, lightView), model, BoundingSphere({0, 0, 0}, 1.0f),
                              scene.location);

    const glm::mat4 projection = glm::perspective(glm::radians(120.0f), 1.0f, 2.0f, 40.0f);
    EXPECT_TRUE(near(scene.sentMatrix(), projection * lightView * model, 1e-4f));
}

TEST(GeometryShadow, ALightIsTakenAsItsOwnShadowCamera)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    ShadowScene scene;
    Light light(0.5f, 3.0f);
    light.translate(0.0f, 10.0f, 0.0f);
    light.rotateX(-90.0f);
    light.setFarPlane(40.0f);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    frustumCulling = true;

    scene.geometry.drawShadow(light, model, BoundingSphere({1.0f, 0.0f, 0.0f}, 1.5f), scene.location);

    const glm::mat4 projection = glm::perspective(glm::radians(120.0f), 1.0f, 5.0f, 40.0f);
    EXPECT_TRUE(near(scene.sentMatrix(), projection * *light.inverseModelMatrix * model, 1e-4f));

    // Ten units past the far plane the light sees nothing, so nothing is sent.
    glUniformMatrix4fv(scene.location, 1, GL_FALSE, glm::value_ptr(sentinel));
    scene.geometry.drawShadow(light, model, BoundingSphere({1.0f, -40.0f, 0.0f}, 1.5f), scene.location);
    EXPECT_TRUE(near(scene.sentMatrix(), sentinel));
}

TEST(GeometryShadow, CasterFollowsTheLightsPlanesAndView)
{
    GL_TEST_SETUP(context);
    SourceShaders shaders;
    Light light(0.5f, 3.0f);
    light.translate(-35.0f, 30.0f, 45.0f);
    light.rotateX(-135.0f);
    light.setNearPlane(10.0f);
    light.setFarPlane(90.0f);

    const ShadowCaster caster(light);

    EXPECT_EQ(caster.frustum, &light.frustum());
    EXPECT_FLOAT_EQ(caster.nearPlane, 10.0f);
    EXPECT_FLOAT_EQ(caster.farPlane, 90.0f);
    EXPECT_TRUE(near(caster.view, *light.inverseModelMatrix));
    // The light's texture matrix is the same camera with a bias into texture space.
    const glm::mat4 bias =
        glm::translate(glm::mat4(1.0f), glm::vec3(0.5f)) * glm::scale(glm::mat4(1.0f), glm::vec3(0.5f));
    EXPECT_TRUE(near(bias * caster.viewProjection(), light.textureMatrix(), 1e-4f));
}
