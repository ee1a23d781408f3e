#include "render/Geometry.h"

#include "app/Settings.h"
#include "assets/Mesh.h"
#include "render/GLObject.h"
#include "render/Shader.h"
#include "scene/Camera.h"
#include "scene/ViewFrustum.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

namespace {

// Red is the primitive's number within its draw call, plus one: it restarts
// at zero with every glDrawElements, which shows how a mesh was split into
// calls. Green is the colour texture on unit 0 where the draw asks for one.
const std::string probeVertex = R"(#version 330 core
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
uniform mat4 mvpMatrix;
out vec2 texCoords;
void main()
{
    texCoords = in_texCoords;
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string probeFragment = R"(#version 330 core
in vec2 texCoords;
uniform sampler2D colorMap;
uniform int useTexture;
out vec4 out_color;
void main()
{
    float texel = useTexture == 1 ? texture(colorMap, texCoords).g : 0.0;
    out_color = vec4(float(gl_PrimitiveID + 1) / 255.0, texel, 0.0, 1.0);
}
)";

// One triangle per entry, both in front of a camera at the origin.
const std::string frontObj = R"(v -3 -1 -5
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

// The same with the right entry behind the camera: the object as a whole is
// in view, that entry is not.
const std::string splitObj = R"(v -3 -1 -5
v -1 -1 -5
v -2 1 -5
v 1 -1 5
v 3 -1 5
v 2 1 5
o left
f 1 2 3
o right
f 4 5 6
)";

const glm::vec3 leftCentre(-2.0f, -1.0f / 3.0f, -5.0f);
const glm::vec3 rightCentre(2.0f, -1.0f / 3.0f, -5.0f);
constexpr int targetSize = 64;

std::string writeProgram(const ScratchDir& folder)
{
    folder.write("probe.vert", probeVertex);
    folder.write("probe.frag", probeFragment);
    return (folder.path() / "probe").string();
}

template <typename Draw>
GLuint primitivesDrawnBy(Draw draw)
{
    GLuint query = 0;
    glGenQueries(1, &query);
    glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
    glDeleteQueries(1, &query);
    return count;
}

GLint integerState(GLenum name)
{
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

// A prepared two-entry geometry, a camera at the origin looking down -Z, the
// probe program current and a small colour target bound.
struct DrawScene {
    DrawScene(const std::string& obj, bool textured)
    {
        files.texture("white.png");
        loaded = geometry.mesh->loadMesh(files.model("scene.obj", obj), false);
        geometry.prepare(probe, textured);
        camera.setTransform(glm::mat4(1.0f), glm::mat4(1.0f));

        glBindTexture(GL_TEXTURE_2D, colour.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, targetSize, targetSize, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour.id(), 0);
        glViewport(0, 0, targetSize, targetSize);
        clear();
        glUseProgram(probe.program());
    }
    ~DrawScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        frustumCulling = savedCulling;
        drawCounter = savedCounter;
    }
    DrawScene(const DrawScene&) = delete;
    DrawScene& operator=(const DrawScene&) = delete;

    void clear() const
    {
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }

    std::array<std::uint8_t, 4> pixelAt(const glm::vec3& world) const
    {
        const glm::vec4 clip = *camera.projectionMatrix * *camera.inverseModelMatrix * glm::vec4(world, 1.0f);
        const glm::vec2 window = (glm::vec2(clip) / clip.w * 0.5f + 0.5f) * static_cast<float>(targetSize);
        std::array<std::uint8_t, 4> pixel{};
        glReadPixels(static_cast<GLint>(window.x), static_cast<GLint>(window.y), 1, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     pixel.data());
        return pixel;
    }

    // -1 where nothing was drawn.
    int primitiveNumberAt(const glm::vec3& world) const { return pixelAt(world)[0] - 1; }

    void drawToCube()
    {
        // The cube draw leaves the projection to the program; give the probe the camera's.
        const glm::mat4 viewProjection = *camera.projectionMatrix * *camera.inverseModelMatrix;
        glUniformMatrix4fv(probe.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(viewProjection));
        geometry.drawToCubeMap(probe, glm::vec3(0.0f), *geometry.modelMatrix, geometry.normalMatrix(),
                               geometry.shadowMatrices);
    }

    // A shadow camera like a light's, standing at the origin and turned about
    // the vertical axis: 0 looks down -Z, 180 down +Z.
    ShadowCaster lightTurnedBy(float degrees)
    {
        const glm::mat4 model = glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(0.0f, 1.0f, 0.0f));
        const glm::mat4 view = glm::inverse(model);
        lightFrustum.update(model, glm::mat3(glm::transpose(view)));
        return ShadowCaster(lightFrustum, 5.0f, 80.0f, view);
    }

    const bool savedCulling = frustumCulling;
    const std::uint32_t savedCounter = drawCounter;
    ViewFrustum lightFrustum{120.0f, 1.0f, 5.0f, 80.0f};
    ScratchDir folder;
    meshtest::MeshFiles files{true};
    Shader probe{writeProgram(folder)};
    Geometry geometry;
    Camera camera;
    GLTexture colour = GLTexture::create();
    GLFramebuffer framebuffer = GLFramebuffer::create();
    bool loaded = false;
};

} // namespace

TEST(GeometryDrawCalls, CounterCountsLitEntriesOfTexturedMeshesAndOnePerPlainObject)
{
    GL_TEST_SETUP(context);
    DrawScene textured(frontObj, true);
    ASSERT_TRUE(textured.loaded);
    ASSERT_EQ(textured.geometry.mesh->entryCount, 2u);
    DrawScene plain(frontObj, false);
    frustumCulling = true;
    drawCounter = 0;

    textured.geometry.draw(textured.camera);
    EXPECT_EQ(drawCounter, 2u);
    plain.geometry.draw(plain.camera);
    EXPECT_EQ(drawCounter, 3u);
    plain.geometry.drawWithTransform(plain.camera, glm::mat4(1.0f), glm::mat3(1.0f),
                                     plain.geometry.mesh->boundingSphere, plain.geometry.shadowMatrices);
    EXPECT_EQ(drawCounter, 4u);

    // Only the lit pass is counted.
    const BoundingSphere& sphere = textured.geometry.mesh->boundingSphere;
    textured.geometry.drawShadow(textured.lightTurnedBy(0.0f), glm::mat4(1.0f), sphere, 0);
    textured.drawToCube();
    textured.geometry.drawVelocity(textured.camera, textured.probe);
    plain.geometry.drawVelocityWithTransform(plain.camera, plain.probe, glm::mat4(1.0f), glm::mat4(1.0f),
                                             plain.geometry.mesh->boundingSphere);
    EXPECT_EQ(drawCounter, 4u);
}

TEST(GeometryDrawCalls, AnObjectOutOfViewIsNeitherLitNorBlurredButStillCastsShadowsAndReflects)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, true);
    Geometry& geometry = scene.geometry;
    frustumCulling = true;
    geometry.translate(0.0f, 0.0f, 25.0f); // behind the camera
    drawCounter = 5;

    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(scene.camera); }), 0u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(scene.camera, scene.probe); }), 0u);
    EXPECT_EQ(primitivesDrawnBy([&] {
                  geometry.drawWithTransform(scene.camera, *geometry.modelMatrix, geometry.normalMatrix(),
                                             geometry.mesh->boundingSphere, geometry.shadowMatrices);
              }),
              0u);
    EXPECT_EQ(primitivesDrawnBy([&] {
                  geometry.drawVelocityWithTransform(scene.camera, scene.probe, *geometry.modelMatrix,
                                                     *geometry.modelMatrix, geometry.mesh->boundingSphere);
              }),
              0u);
    EXPECT_EQ(drawCounter, 5u);

    const GLint location = scene.probe.location(ShaderLocation::mvpMatrix);
    const BoundingSphere& sphere = geometry.mesh->boundingSphere;
    const ShadowCaster lookingAway = scene.lightTurnedBy(0.0f);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawShadow(lookingAway, *geometry.modelMatrix, sphere, location); }),
              0u);
    const ShadowCaster lookingAtIt = scene.lightTurnedBy(180.0f);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawShadow(lookingAtIt, *geometry.modelMatrix, sphere, location); }),
              2u);
    EXPECT_EQ(primitivesDrawnBy([&] { scene.drawToCube(); }), 2u);
    EXPECT_EQ(drawCounter, 5u);
}

TEST(GeometryDrawCalls, AnUntexturedObjectOutOfViewSendsAndDrawsNothing)
{
    GL_TEST_SETUP(context);
    // Without entries to test one by one, only the whole-object test can stop the draw.
    DrawScene scene(frontObj, false);
    frustumCulling = true;
    scene.geometry.translate(0.0f, 0.0f, 25.0f);
    drawCounter = 0;

    EXPECT_EQ(primitivesDrawnBy([&] { scene.geometry.draw(scene.camera); }), 0u);
    EXPECT_EQ(drawCounter, 0u);

    // A culled velocity draw is rejected before it sends anything.
    const glm::mat4 untouched(3.0f);
    const GLint location = scene.probe.location(ShaderLocation::mvpMatrix);
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(untouched));
    scene.geometry.drawVelocity(scene.camera, scene.probe);
    glm::mat4 sent(0.0f);
    glGetUniformfv(scene.probe.program(), location, glm::value_ptr(sent));
    EXPECT_EQ(sent, untouched);
}

TEST(GeometryDrawCalls, WithoutCullingEverythingIsDrawn)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, true);
    Geometry& geometry = scene.geometry;
    frustumCulling = false;
    geometry.translate(0.0f, 0.0f, 25.0f); // behind the camera
    drawCounter = 0;

    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(scene.camera); }), 2u);
    EXPECT_EQ(drawCounter, 2u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(scene.camera, scene.probe); }), 2u);
    const ShadowCaster lookingAway = scene.lightTurnedBy(0.0f);
    const BoundingSphere& sphere = geometry.mesh->boundingSphere;
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawShadow(lookingAway, *geometry.modelMatrix, sphere, 0); }), 2u);
}

TEST(GeometryDrawCalls, EntriesOutOfViewAreSkippedWhereTheyCanBeTested)
{
    GL_TEST_SETUP(context);
    DrawScene scene(splitObj, true);
    Geometry& geometry = scene.geometry;
    frustumCulling = true;
    drawCounter = 0;

    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(scene.camera); }), 1u);
    EXPECT_EQ(drawCounter, 1u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(scene.camera, scene.probe); }), 1u);
    // A borrowed placement cannot be tested per entry: the entries' spheres
    // follow the geometry's own placement.
    EXPECT_EQ(primitivesDrawnBy([&] {
                  geometry.drawWithTransform(scene.camera, *geometry.modelMatrix, geometry.normalMatrix(),
                                             geometry.mesh->boundingSphere, geometry.shadowMatrices);
              }),
              2u);
    EXPECT_EQ(drawCounter, 3u);
    EXPECT_EQ(primitivesDrawnBy([&] {
                  geometry.drawVelocityWithTransform(scene.camera, scene.probe, *geometry.modelMatrix,
                                                     *geometry.modelMatrix, geometry.mesh->boundingSphere);
              }),
              2u);
}

TEST(GeometryDrawCalls, TexturedLitDrawGoesEntryByEntryEvenWithoutCulling)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, true);
    frustumCulling = false;
    drawCounter = 0;

    scene.geometry.draw(scene.camera);

    EXPECT_EQ(drawCounter, 2u);
    EXPECT_EQ(scene.primitiveNumberAt(leftCentre), 0);
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 0);
}

TEST(GeometryDrawCalls, VelocityDrawIsOneCallWithoutCullingAndPerEntryWithIt)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, true);

    frustumCulling = false;
    scene.geometry.drawVelocity(scene.camera, scene.probe);
    EXPECT_EQ(scene.primitiveNumberAt(leftCentre), 0);
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 1);

    scene.clear();
    frustumCulling = true;
    scene.geometry.drawVelocity(scene.camera, scene.probe);
    EXPECT_EQ(scene.primitiveNumberAt(leftCentre), 0);
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 0);
}

TEST(GeometryDrawCalls, UntexturedLitDrawIsOneCall)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, false);
    frustumCulling = true;

    scene.geometry.draw(scene.camera);

    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 1);
    EXPECT_EQ(scene.pixelAt(rightCentre)[1], 0) << "an untextured object sampled unit 0";
}

TEST(GeometryDrawCalls, EntriesAreLitWithTheirTextureOnUnitZeroWhichIsThenReleased)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, true);
    frustumCulling = true;

    scene.geometry.draw(scene.camera);
    EXPECT_EQ(scene.pixelAt(leftCentre)[1], 255);
    EXPECT_EQ(scene.pixelAt(rightCentre)[1], 255);

    scene.clear();
    scene.drawToCube();
    EXPECT_EQ(scene.pixelAt(rightCentre)[1], 255);

    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GeometryDrawCalls, VelocityDrawKeepsTheSceneImageBound)
{
    GL_TEST_SETUP(context);
    DrawScene scene(frontObj, true);
    const GLTexture sceneImage = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, sceneImage.id());

    frustumCulling = true;
    scene.geometry.drawVelocity(scene.camera, scene.probe);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), static_cast<GLint>(sceneImage.id()));
    frustumCulling = false;
    scene.geometry.drawVelocity(scene.camera, scene.probe);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), static_cast<GLint>(sceneImage.id()));
}
