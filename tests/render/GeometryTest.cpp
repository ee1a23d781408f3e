#include "render/Geometry.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/ReflectiveGeometry.h"
#include "scene/Camera.h"
#include "scene/ViewFrustum.h"

#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

using namespace rendertest;

namespace {

// Every uniform a draw sends feeds the output, so none is optimised away and
// each can be read back.
const std::string probeVertex = meshInputs + R"(
uniform mat4 mvpMatrix, prev_mvpMatrix, modelMatrix, texMat_model1, texMat_model2, texMat_model3;
uniform mat3 normalMatrix;
uniform vec4 cameraPos;
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
uniform int useTexture, isReflective;
out vec4 out_color;
void main()
{
    float texel = useTexture == 1 ? texture(colorMap, texCoords).g : 0.0;
    out_color = vec4(texel, length(reflectionCoefficient * shade) * shininess + float(isReflective), 0.0, 1.0);
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
// origin looking down -Z, the probe program current and a target bound.
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
    glm::mat4 viewProjection() const { return *camera.projectionMatrix * *camera.inverseModelMatrix; }

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
    RenderTarget target{8, 8};
    ViewFrustum lightFrustum{120.0f, 1.0f, 5.0f, 80.0f};
    bool loaded = false;
};

glm::mat4 lightMatrix(float offset)
{
    return glm::translate(glm::mat4(0.5f), glm::vec3(offset, -offset, 0.0f));
}

} // namespace

// Only the lit pass counts: one for each lit entry of a textured mesh, one
// for a plain object whole. Entries out of view are skipped where they can be
// tested, so only a mesh at its own placement goes entry by entry.
TEST(GeometryDraw, CounterCountsLitEntriesAndOnlyEntriesInViewAreDrawn)
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
    scene.plain.draw(scene.lit(), DrawScene::borrowed(scene.plain));
    EXPECT_EQ(drawCounter, 4u);
    scene.textured.drawShadow(scene.shadow(scene.lightTurnedBy(0.0f)));
    scene.drawToCube(scene.textured);
    scene.textured.drawVelocity(scene.velocity());
    scene.plain.drawVelocity(scene.velocity(), DrawScene::borrowed(scene.plain));
    EXPECT_EQ(drawCounter, 4u);

    // The right entry half behind the camera: out of view as a sphere.
    DrawScene halfBehind(5);
    Geometry& geometry = halfBehind.textured;
    drawCounter = 0;
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(halfBehind.lit()); }), 1u);
    EXPECT_EQ(drawCounter, 1u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(halfBehind.velocity()); }), 1u);
    const Placement lent = DrawScene::borrowed(geometry);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.draw(halfBehind.lit(), lent); }), 2u);
    EXPECT_EQ(primitivesDrawnBy([&] { geometry.drawVelocity(halfBehind.velocity(), lent); }), 2u);
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
        const ShadowCaster lookingAway = scene.lightTurnedBy(0.0f);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->drawShadow(scene.shadow(lookingAway), lent); }), 0u);
        const ShadowCaster lookingAtIt = scene.lightTurnedBy(180.0f);
        EXPECT_EQ(primitivesDrawnBy([&] { geometry->drawShadow(scene.shadow(lookingAtIt), lent); }), 2u);
        EXPECT_EQ(primitivesDrawnBy([&] { scene.drawToCube(*geometry); }), 2u);
        EXPECT_EQ(drawCounter, 5u);
    }
}

// A mesh that could not be read is never prepared, and every draw of an
// unprepared geometry throws before binding anything.
TEST(GeometryPrepare, EveryDrawBeforePrepareThrowsAndBindsNothing)
{
    GL_TEST_SETUP(context);
    DrawScene scene;
    ASSERT_TRUE(scene.loaded);
    Geometry geometry;
    printedBy([&] { EXPECT_FALSE(geometry.mesh->loadMesh(scene.files.path("missing.obj"), false)); });
    geometry.prepare(scene.probe, true);
    EXPECT_FALSE(geometry.prepared);

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
        EXPECT_THROW(draw(), std::runtime_error);
    }
    // Neither the relief maps nor the cube were left bound.
    EXPECT_EQ(boundTexture(GL_TEXTURE5), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE6), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE4, GL_TEXTURE_BINDING_CUBE_MAP), 0);
    EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
}

// The transforms go to the program in the order that carries a vertex from
// the object to the camera's clip space and into each light's map; the
// material goes in its columns: ambient, diffuse, specular. An object without
// colours reflects nothing and samples no texture, whatever the last one set.
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
    scene.camera.translate(1.0f, 2.0f, 10.0f);
    Shader& probe = scene.probe;
    glUniform1i(probe.location(ShaderLocation::colorMap), 3);

    geometry.draw(scene.lit());

    const glm::mat4 model = *geometry.modelMatrix;
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::mvpMatrix), scene.viewProjection() * model));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::modelMatrix), model));
    EXPECT_TRUE(near(readUniform<glm::vec4>(probe, ShaderLocation::cameraPos), glm::vec4(1.0f, 2.0f, 10.0f, 1.0f)));
    EXPECT_TRUE(near(readUniform<glm::mat4>(probe, ShaderLocation::texMat_model3), lightMatrix(3.0f) * model));
    EXPECT_TRUE(near(readUniform<glm::mat3>(probe, ShaderLocation::reflectionCoefficient),
                     glm::mat3(glm::vec3(0.05f, 0.06f, 0.07f), glm::vec3(0.6f, 0.5f, 0.4f), glm::vec3(0.3f, 0.2f, 0.1f))))
        << "columns ambient, diffuse, specular";
    EXPECT_EQ(readInt(probe, ShaderLocation::useTexture), 1);
    EXPECT_EQ(readInt(probe, ShaderLocation::colorMap), 0);

    scene.plain.draw(scene.lit());
    EXPECT_TRUE(near(readUniform<glm::mat3>(probe, ShaderLocation::reflectionCoefficient), glm::mat3(0.0f)));
    EXPECT_EQ(readInt(probe, ShaderLocation::useTexture), 0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ParallaxGeometryMaps, AMissingNormalMapSkipsTheHeightMapAndAMissingSpecularMapIsNotUsed)
{
    GL_TEST_SETUP(context);
    SceneFiles files;
    ASSERT_TRUE(files.texture("wallNormals.png") && files.texture("wallHeights.png"));
    ParallaxGeometry loaded;
    EXPECT_TRUE(loaded.setMaps("wallNormals.png", "wallHeights.png"));
    EXPECT_NE(TextureManager::getInstance()->textureId("wallNormals.png"), 0u);
    EXPECT_NE(TextureManager::getInstance()->textureId("wallHeights.png"), 0u);

    // The height map could be read: only skipping it keeps its id at 0.
    ASSERT_TRUE(files.texture("floorHeights.png"));
    ParallaxGeometry piece;
    EXPECT_FALSE(piece.setMaps("missingNormals.png", "floorHeights.png"));
    EXPECT_EQ(piece.normalMapName, "missingNormals.png");
    EXPECT_EQ(piece.heightMapName, "floorHeights.png");
    EXPECT_EQ(TextureManager::getInstance()->textureId("floorHeights.png"), 0u);

    EXPECT_FALSE(piece.setSpecularMap("missingSpecular.png"));
    EXPECT_FALSE(piece.hasSpecularMap);
}
