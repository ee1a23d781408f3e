#include "render/Geometry.h"

#include "assets/Mesh.h"
#include "gl/GLObject.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "scene/Camera.h"
#include "scene/ViewFrustum.h"

#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <string>

using namespace rendertest;

namespace {

// Every uniform a draw sends feeds the alpha channel, so none is optimised
// away and each can be read back. Red is the primitive's number within its
// draw call, plus one: it restarts with every glDrawElements, which shows how
// a mesh was split into calls. Green is the colour texture on unit 0 where
// the draw asks for one.
const std::string probeVertex = meshInputs + R"(
uniform mat4 mvpMatrix;
uniform mat4 prev_mvpMatrix;
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
    vec4 shadows = (texMat_model1 + texMat_model2 + texMat_model3) * world + prev_mvpMatrix * in_position;
    shade = normalMatrix * in_normal + in_color + (world - cameraPos).xyz + shadows.xyz;
    texCoords = in_texCoords;
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string probeFragment = R"(#version 330 core
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
    float texel = useTexture == 1 ? texture(colorMap, texCoords).g : 0.0;
    float live = length(reflectionCoefficient * shade) * shininess + float(isReflective);
    out_color = vec4(float(gl_PrimitiveID + 1) / 255.0, texel, 0.0, clamp(live, 0.0, 1.0));
}
)";

// One triangle per entry, the left one in front of a camera at the origin
// looking down -Z, the right one too at rightZ = -5 and behind it at 5: then
// the object as a whole is in view, that entry is not.
std::string twoEntries(int rightZ)
{
    const std::string z = " " + std::to_string(rightZ) + "\n";
    return "v -3 -1 -5\nv -1 -1 -5\nv -2 1 -5\nv 1 -1" + z + "v 3 -1" + z + "v 2 1" + z +
           "o left\nf 1 2 3\no right\nf 4 5 6\n";
}

const glm::vec3 leftCentre(-2.0f, -1.0f / 3.0f, -5.0f);
const glm::vec3 rightCentre(2.0f, -1.0f / 3.0f, -5.0f);

template <typename Draw>
GLuint primitivesDrawnBy(Draw draw)
{
    const GLQuery query = GLQuery::create();
    glBeginQuery(GL_PRIMITIVES_GENERATED, query.id());
    draw();
    glEndQuery(GL_PRIMITIVES_GENERATED);
    GLuint count = 0;
    glGetQueryObjectuiv(query.id(), GL_QUERY_RESULT, &count);
    return count;
}

// The same two-entry mesh prepared textured and plain, a camera at the
// origin looking down -Z, the probe program current and a 64x64 target bound.
struct DrawScene {
    explicit DrawScene(int rightZ = -5)
    {
        const std::string path = files.model("scene.obj", twoEntries(rightZ));
        loaded = textured.mesh->loadMesh(path, false) && plain.mesh->loadMesh(path, false);
        textured.prepare(probe, true);
        plain.prepare(probe, false);
        camera.setTransform(glm::mat4(1.0f), glm::mat4(1.0f));
        target.begin();
        glUseProgram(probe.program());
    }
    ~DrawScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    DrawScene(const DrawScene&) = delete;
    DrawScene& operator=(const DrawScene&) = delete;

    glm::mat4 viewProjection() const { return *camera.projectionMatrix * *camera.inverseModelMatrix; }

    Pixel pixelAt(const glm::vec3& world) const
    {
        const glm::vec4 clip = viewProjection() * glm::vec4(world, 1.0f);
        const glm::ivec2 window((glm::vec2(clip) / clip.w * 0.5f + 0.5f) * static_cast<float>(target.width));
        return target.at(target.read(), window.x, window.y);
    }

    // -1 where nothing was drawn.
    int primitiveNumberAt(const glm::vec3& world) const { return pixelAt(world)[0] - 1; }

    // The passes through the probe and the camera.
    LitPass lit() { return {probe, camera}; }
    VelocityPass velocity() { return {probe, camera}; }
    ShadowPass shadow(const ShadowCaster& light) { return {probe, light}; }

    void drawToCube(Geometry& geometry)
    {
        // The cube draw leaves the projection to the program; give the probe the camera's.
        glUniformMatrix4fv(probe.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(viewProjection()));
        geometry.drawToCubeMap(CubeMapPass{probe, glm::vec3(0.0f)});
    }

    // The geometry's own placement lent as a stone lends its own: the same
    // place, but its sub-meshes cannot be culled one by one.
    static Placement borrowed(const Geometry& geometry)
    {
        Placement at = geometry.placement();
        at.entriesInWorld = false;
        return at;
    }

    // A shadow camera like a light's at the origin, turned about the
    // vertical axis: 0 looks down -Z, 180 down +Z.
    ShadowCaster lightTurnedBy(float degrees)
    {
        const glm::mat4 model = glm::rotate(glm::mat4(1.0f), glm::radians(degrees), glm::vec3(0.0f, 1.0f, 0.0f));
        const glm::mat4 view = glm::inverse(model);
        lightFrustum.update(model, glm::mat3(glm::transpose(view)));
        return ShadowCaster(lightFrustum, 5.0f, 80.0f, view);
    }

    SettingsGuard settings;
    ScratchDir folder;
    SceneFiles files;
    Shader probe{writeSources(folder, "probe", probeVertex, probeFragment)};
    Geometry textured;
    Geometry plain;
    Camera camera;
    RenderTarget target{64, 64};
    ViewFrustum lightFrustum{120.0f, 1.0f, 5.0f, 80.0f};
    bool loaded = false;
};

glm::mat4 lightMatrix(float offset)
{
    return glm::translate(glm::mat4(0.5f), glm::vec3(offset, -offset, 0.0f));
}

} // namespace

TEST(GeometryDraw, CounterCountsLitEntriesOfTexturedMeshesAndOnePerPlainObject)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    ASSERT_TRUE(scene.loaded);
    ASSERT_EQ(scene.textured.mesh->entryCount, 2u);
    frustumCulling = true;
    drawCounter = 0;

    scene.textured.draw(scene.lit());
    EXPECT_EQ(drawCounter, 2u);
    scene.plain.draw(scene.lit());
    EXPECT_EQ(drawCounter, 3u);
    scene.plain.draw(scene.lit(), DrawScene::borrowed(scene.plain));
    EXPECT_EQ(drawCounter, 4u);

    // Only the lit pass is counted.
    scene.textured.drawShadow(scene.shadow(scene.lightTurnedBy(0.0f)));
    scene.drawToCube(scene.textured);
    scene.textured.drawVelocity(scene.velocity());
    scene.plain.drawVelocity(scene.velocity(), DrawScene::borrowed(scene.plain));
    EXPECT_EQ(drawCounter, 4u);
}

TEST(GeometryDraw, AnObjectOutOfViewIsNeitherLitNorBlurredButCastsShadowsAndReflects)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    ASSERT_TRUE(scene.loaded);
    frustumCulling = true;
    for (Geometry* geometry : {&scene.textured, &scene.plain}) {
        SCOPED_TRACE(geometry->textured ? "textured" : "plain");
        geometry->translate(0.0f, 0.0f, 25.0f); // behind the camera
        const Placement lent = DrawScene::borrowed(*geometry);
        drawCounter = 5;

        EXPECT_EQ(primitivesDrawnBy([&] { geometry->draw(scene.lit()); }), 0u);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->drawVelocity(scene.velocity()); }), 0u);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->draw(scene.lit(), lent); }), 0u);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->drawVelocity(scene.velocity(), lent); }), 0u);
        EXPECT_EQ(drawCounter, 5u);

        const ShadowCaster lookingAway = scene.lightTurnedBy(0.0f);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->drawShadow(scene.shadow(lookingAway), lent); }), 0u);
        const ShadowCaster lookingAtIt = scene.lightTurnedBy(180.0f);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->drawShadow(scene.shadow(lookingAtIt), lent); }), 2u);
        EXPECT_EQ(primitivesDrawnBy([&] { scene.drawToCube(*geometry); }), 2u);
        EXPECT_EQ(drawCounter, 5u);
    }
}

TEST(GeometryDraw, WithoutCullingATexturedObjectIsLitEntryByEntryAndBlurredInOneCall)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    ASSERT_TRUE(scene.loaded);
    Geometry& geometry = scene.textured;
    frustumCulling = false;
    drawCounter = 0;

    geometry.draw(scene.lit());
    EXPECT_EQ(drawCounter, 2u);
    EXPECT_EQ(scene.primitiveNumberAt(leftCentre), 0);
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 0) << "the second entry is a call of its own";

    scene.target.begin();
    geometry.drawVelocity(scene.velocity());
    EXPECT_EQ(scene.primitiveNumberAt(leftCentre), 0);
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 1) << "both entries in one call";
    // With culling on, the velocity draw goes entry by entry so that entries can be skipped.
    scene.target.begin();
    frustumCulling = true;
    geometry.drawVelocity(scene.velocity());
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 0);

    // Behind the camera nothing is culled either.
    frustumCulling = false;
    geometry.translate(0.0f, 0.0f, 25.0f);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(scene.lit()); }), 2u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(scene.velocity()); }), 2u);
    const ShadowCaster lookingAway = scene.lightTurnedBy(0.0f);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawShadow(scene.shadow(lookingAway)); }), 2u);
}

TEST(GeometryDraw, EntriesOutOfViewAreSkippedWhereTheyCanBeTested)
{
    GL_TEST_SETUP(context);
    DrawScene scene(5);
    ASSERT_TRUE(scene.loaded);
    Geometry& geometry = scene.textured;
    frustumCulling = true;
    drawCounter = 0;

    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(scene.lit()); }), 1u);
    EXPECT_EQ(drawCounter, 1u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(scene.velocity()); }), 1u);
    // A borrowed placement cannot be tested per entry: the entries' spheres
    // follow the geometry's own placement.
    const Placement lent = DrawScene::borrowed(geometry);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(scene.lit(), lent); }), 2u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(scene.velocity(), lent); }), 2u);
}

TEST(GeometryDraw, EntriesAreLitWithTheirTextureOnUnitZeroWhichIsThenReleased)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    ASSERT_TRUE(scene.loaded);
    frustumCulling = true;

    scene.textured.draw(scene.lit());
    EXPECT_EQ(scene.pixelAt(leftCentre)[1], 255);
    EXPECT_EQ(scene.pixelAt(rightCentre)[1], 255);
    scene.target.begin();
    scene.drawToCube(scene.textured);
    EXPECT_EQ(scene.pixelAt(rightCentre)[1], 255);
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), 0);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), 0);

    // An untextured object is one call and samples nothing.
    scene.target.begin();
    scene.plain.draw(scene.lit());
    EXPECT_EQ(scene.primitiveNumberAt(rightCentre), 1);
    EXPECT_EQ(scene.pixelAt(rightCentre)[1], 0);

    // The velocity pass must not touch the scene image it reads from.
    const GLTexture sceneImage = GLTexture::create();
    glBindTexture(GL_TEXTURE_2D, sceneImage.id());
    scene.textured.drawVelocity(scene.velocity());
    EXPECT_EQ(integerState(GL_TEXTURE_BINDING_2D), static_cast<GLint>(sceneImage.id()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GeometryPrepare, EveryDrawBeforePrepareThrowsAndBindsNothing)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    // A model file that cannot be read leaves the mesh empty, and prepare does nothing.
    Geometry geometry;
    testing::internal::CaptureStdout();
    EXPECT_FALSE(geometry.mesh->loadMesh((scene.folder.path() / "missing.obj").string(), false));
    testing::internal::GetCapturedStdout();
    geometry.prepare(scene.probe, true);
    EXPECT_FALSE(geometry.prepared);
    EXPECT_EQ(geometry.shader, nullptr);

    ParallaxGeometry piece;
    ASSERT_TRUE(scene.files.texture("normals.png") && scene.files.texture("heights.png"));
    ASSERT_TRUE(piece.setMaps("normals.png", "heights.png"));
    ReflectiveGeometry reflective;
    const ShadowCaster light = scene.lightTurnedBy(0.0f);
    const Placement lent;
    const std::function<void()> draws[] = {
        [&] { geometry.draw(scene.lit()); },
        [&] { geometry.draw(scene.lit(), lent); },
        [&] { geometry.drawShadow(scene.shadow(light), lent); },
        [&] { geometry.drawToCubeMap(CubeMapPass{scene.probe, glm::vec3(0.0f)}, lent); },
        [&] { geometry.drawVelocity(scene.velocity(), lent); },
        [&] { piece.draw(scene.lit()); },
        [&] { reflective.draw(scene.lit()); },
    };
    for (const auto& draw : draws) {
        std::string message;
        try {
            draw();
        } catch (const std::runtime_error& error) {
            message = error.what();
        }
        EXPECT_EQ(message, "Geometry has not been prepared!");
    }
    // Neither the relief maps nor the cube were left bound.
    EXPECT_EQ(boundTexture(GL_TEXTURE5), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE6), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE4, GL_TEXTURE_BINDING_CUBE_MAP), 0);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

TEST(GeometryPrepare, ASecondPrepareChangesNothing)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    ASSERT_TRUE(scene.loaded);
    Shader other(writeSources(scene.folder, "other", probeVertex, probeFragment));
    Geometry& geometry = scene.plain;
    const GLuint vertexArray = geometry.vertexArray.id();
    const GLuint vertexBuffer = geometry.vertexBuffer.id();
    const GLuint indexBuffer = geometry.indexBuffer.id();

    geometry.prepare(other, true);

    EXPECT_EQ(geometry.vertexArray.id(), vertexArray);
    EXPECT_EQ(geometry.vertexBuffer.id(), vertexBuffer);
    EXPECT_EQ(geometry.indexBuffer.id(), indexBuffer);
    EXPECT_EQ(geometry.shader, &scene.probe);
    EXPECT_FALSE(geometry.textured);
}

TEST(GeometryUniforms, LitDrawSendsTheTransformsOfObjectAndCameraAndTheMaterial)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    Geometry& geometry = scene.textured;
    geometry.setLightMatrices(lightMatrix(1.0f), lightMatrix(2.0f), lightMatrix(3.0f));
    geometry.translate(0.5f, 0.0f, -5.0f);
    geometry.rotateY(20.0f);
    geometry.materialColors[Geometry::diffuseColor] = {0.6f, 0.5f, 0.4f};
    geometry.materialColors[Geometry::specularColor] = {0.3f, 0.2f, 0.1f};
    geometry.materialColors[Geometry::ambientColor] = {0.05f, 0.06f, 0.07f};
    geometry.shininess = 150.0f;
    scene.camera.translate(1.0f, 2.0f, 10.0f);
    Shader& probe = scene.probe;
    glUniform1i(probe.location(ShaderLocation::colorMap), 3);

    geometry.draw(scene.lit());

    const glm::mat4 model = *geometry.modelMatrix;
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::vec4>(probe, ShaderLocation::cameraPos), glm::vec4(1.0f, 2.0f, 10.0f, 1.0f)));
    EXPECT_TRUE(near(readUniform<glm::mat3>(probe, ShaderLocation::normalMatrix),
                     glm::mat3(glm::transpose(glm::inverse(model)))));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::texMat_model3), lightMatrix(3.0f) * model));
    const glm::mat3 reflection = readUniform<glm::mat3>(probe, ShaderLocation::reflectionCoefficient);
    EXPECT_TRUE(near(reflection, glm::mat3(glm::vec3(0.05f, 0.06f, 0.07f), glm::vec3(0.6f, 0.5f, 0.4f),
                                           glm::vec3(0.3f, 0.2f, 0.1f))))
        << "columns ambient, diffuse, specular";
    float shininess = 0.0f;
    glGetUniformfv(probe.program(), probe.location(ShaderLocation::shininess), &shininess);
    EXPECT_FLOAT_EQ(shininess, 150.0f);
    EXPECT_EQ(readInt(probe, ShaderLocation::useTexture), 1);
    EXPECT_EQ(readInt(probe, ShaderLocation::colorMap), 0);

    // New light matrices apply to an object that has already moved.
    geometry.setLightMatrices(lightMatrix(4.0f), lightMatrix(2.0f), lightMatrix(3.0f));
    geometry.draw(scene.lit());
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::texMat_model1), lightMatrix(4.0f) * model));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GeometryUniforms, AnObjectWithoutColoursReflectsNothing)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    Shader& probe = scene.probe;
    // What an earlier textured object with a material would have left behind.
    glUniformMatrix3fv(probe.location(ShaderLocation::reflectionCoefficient), 1, GL_FALSE,
                       glm::value_ptr(glm::mat3(0.8f)));
    glUniform1i(probe.location(ShaderLocation::useTexture), 1);

    scene.plain.draw(scene.lit());

    EXPECT_TRUE(near(readUniform<glm::mat3>(probe, ShaderLocation::reflectionCoefficient), glm::mat3(0.0f)));
    EXPECT_EQ(readInt(probe, ShaderLocation::useTexture), 0);
}

TEST(GeometryUniforms, ABorrowedPlacementIsDrawnWhereItStandsInEveryPass)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    Shader& probe = scene.probe;
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(-1.0f, 0.5f, -3.0f));
    const std::array<glm::mat4, 3> shadows{lightMatrix(4.0f), lightMatrix(5.0f), lightMatrix(6.0f)};
    Placement lent;
    lent.model = model;
    lent.normalMatrix = glm::mat3(2.0f);
    lent.shadowMatrices = shadows;
    lent.cullingSphere = BoundingSphere({-1, 0.5f, -8}, 3);

    scene.textured.draw(scene.lit(), lent);
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::mat3>(probe, ShaderLocation::normalMatrix), glm::mat3(2.0f)));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::texMat_model2), shadows[1]));

    // The cube draw looks from the cube's centre and leaves the projection and the reflective switch alone.
    const glm::mat4 sentinel(7.0f);
    glUniformMatrix4fv(probe.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(sentinel));
    glUniform1i(probe.location(ShaderLocation::isReflective), 1);
    scene.textured.drawToCubeMap(CubeMapPass{probe, {2.0f, 1.0f, 0.0f}}, lent);
    EXPECT_TRUE(near(readUniform<glm::vec4>(probe, ShaderLocation::cameraPos), glm::vec4(2.0f, 1.0f, 0.0f, 1.0f)));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::texMat_model3), shadows[2]));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::mvpMatrix), sentinel));
    EXPECT_EQ(readInt(probe, ShaderLocation::isReflective), 1);

    // Velocity draws see the camera's move since the last frame: the object's
    // previous placement is not kept.
    const glm::mat4 previousView = scene.viewProjection();
    scene.camera.storePreviousTransform();
    scene.camera.translate(0.5f, 0.0f, 0.0f);
    scene.plain.drawVelocity(scene.velocity(), lent);
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::prev_mvpMatrix), previousView * model));
}

TEST(GeometryUniforms, AShadowDrawProjectsThroughTheLightsOwnCamera)
{
    GL_TEST_SETUP(context);
    LightShaderDirectory shaders;
    DrawScene scene;
    frustumCulling = true;
    Light light(0.5f, 3.0f);
    light.translate(0.0f, 10.0f, 0.0f);
    light.rotateX(-90.0f);
    light.setFarPlane(40.0f);
    const GLint location = scene.probe.location(ShaderLocation::mvpMatrix);
    const glm::mat4 model = glm::translate(glm::mat4(1.0f), glm::vec3(1.0f, 0.0f, 0.0f));
    const ShadowCaster caster(light);
    Placement lent;
    lent.model = model;
    lent.cullingSphere = BoundingSphere({1.0f, 0.0f, 0.0f}, 1.5f);

    scene.plain.drawShadow(scene.shadow(caster), lent);
    const glm::mat4 projection = glm::perspective(glm::radians(120.0f), 1.0f, 5.0f, 40.0f);
    const glm::mat4 expected = projection * *light.inverseModelMatrix * model;
    EXPECT_TRUE(near(readUniform<glm::mat4>(scene.probe, ShaderLocation::mvpMatrix), expected, 1e-4f));

    // Ten units past the far plane the light sees nothing, so nothing is sent.
    glUniformMatrix4fv(location, 1, GL_FALSE, glm::value_ptr(glm::mat4(7.0f)));
    lent.cullingSphere = BoundingSphere({1.0f, -40.0f, 0.0f}, 1.5f);
    scene.plain.drawShadow(scene.shadow(caster), lent);
    EXPECT_TRUE(near(readUniform<glm::mat4>(scene.probe, ShaderLocation::mvpMatrix), glm::mat4(7.0f)));
}

TEST(GeometryTransform, MovingCarriesTheBoundsIntoTheWorld)
{
    Geometry geometry;
    Mesh& mesh = *geometry.mesh;
    mesh.boundingSphere = BoundingSphere({1.0f, 2.0f, 3.0f}, 4.0f);
    mesh.boundingBox = BoundingBox({2.0f, 5.0f, 3.0f}, {-1.0f, -4.0f, -2.0f});
    mesh.entries.resize(1);
    mesh.entries[0].sphere = BoundingSphere({0.0f, 0.0f, -2.0f}, 0.5f);
    mesh.entries[0].box = BoundingBox({0.5f, 0.5f, -1.5f}, {-0.5f, -0.5f, -2.5f});

    geometry.translate(10.0f, 1.0f, 0.0f);
    geometry.scale(2.0f, 2.0f, 2.0f);

    EXPECT_TRUE(near(mesh.boundingSphere.worldCentre, glm::vec3(12.0f, 5.0f, 6.0f)));
    EXPECT_TRUE(near(mesh.entries[0].sphere.worldCentre, glm::vec3(10.0f, 1.0f, -4.0f)));
    // Footprints lie at the object's ground level: upper corner (x, z) of the box, scaled and moved.
    EXPECT_TRUE(near(mesh.boundingBox.footprint[0], glm::vec4(14.0f, 1.0f, 6.0f, 1.0f)));
    EXPECT_TRUE(near(mesh.entries[0].box.footprint[0], glm::vec4(11.0f, 1.0f, -3.0f, 1.0f)));
}
