// One frame: shadow maps, their blur, the pig's environment cube, the lit
// scene into the off-screen target, and the motion-blur pass into the window,
// then the overlay and the buffer swap.
#include "app/AppMain.h"

#include "settings/Settings.h"
#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "assets/UserInterface.h"
#include "render/Geometry.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/PassTimer.h"
#include "render/ReflectiveGeometry.h"
#include "render/Shader.h"
#include "render/ShaderLocation.h"
#include "render/ShadowCaster.h"
#include "scene/Camera.h"
#include "render/Level.h"

#include <epoxy/gl.h>
#include <glm/gtc/type_ptr.hpp>

namespace {

constexpr GLsizei shadowMapSize = 1024;
// The blur smears by the motion of one 60 Hz frame, whatever the frame rate.
constexpr double referenceFrameTime = 0.016;
constexpr double creditsTime = 125.0;

void drawShadowOf(Geometry& geometry, const Light& light, GLint mvpLocation)
{
    geometry.drawShadow(light, *geometry.modelMatrix, geometry.mesh->boundingSphere, mvpLocation);
}

void drawIntoCube(Geometry& geometry, Shader& program, const glm::vec3& centre)
{
    geometry.drawToCubeMap(program, centre, *geometry.modelMatrix, geometry.normalMatrix(),
                           geometry.shadowMatrices);
}

} // namespace

template <typename PassFunction>
void AppMain::timed(int pass, PassFunction&& render)
{
    if (passTimer) {
        passTimer->begin(static_cast<PassTimer::Pass>(pass));
    }
    render();
    if (passTimer) {
        passTimer->end();
    }
}

void AppMain::draw()
{
    timed(PassTimer::ShadowMaps, [this] { renderShadowMaps(); });
    timed(PassTimer::ShadowBlur, [this] { blurShadowMaps(); });
    timed(PassTimer::EnvironmentCube, [this] { renderEnvironmentCube(); });
    timed(PassTimer::LitScene, [this] { renderLitScene(); });
    timed(PassTimer::MotionBlur, [this] { renderMotionBlur(); });

    activeCamera->storePreviousTransform();

    timed(PassTimer::Overlay, [this] {
        glDepthMask(GL_FALSE);
        userInterface->drawDebugOverlay();
        if (raceTime > creditsTime) {
            userInterface->drawCredits();
        }
        glDisable(GL_BLEND);
        glDepthMask(GL_TRUE);
    });

    window.swapBuffers();
}

void AppMain::renderShadowMaps()
{
    drawCounter = 0;
    glViewport(0, 0, shadowMapSize, shadowMapSize);
    Shader& shadow = *shaders["shadow"];
    glUseProgram(shadow.program());
    GLint mvpLocation = shadow.location(ShaderLocation::mvpMatrix);

    for (Light* light : lights) {
        glBindFramebuffer(GL_FRAMEBUFFER, light->shadowFramebuffer());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        drawShadowOf(*reflectiveObject, *light, mvpLocation);
        for (Geometry* geometry : sceneGeometries) {
            drawShadowOf(*geometry, *light, mvpLocation);
        }
        for (ParallaxGeometry* piece : parallaxObjects) {
            drawShadowOf(*piece, *light, mvpLocation);
        }
        drawShadowOf(*level->room, *light, mvpLocation);
    }
    glUseProgram(0);
}

// All three maps are blurred with light 1's program and quad: the programs are
// built from the same files, so their locations agree.
void AppMain::blurShadowMaps()
{
    glDisable(GL_DEPTH_TEST);
    glUseProgram(lights[0]->blurShader().program());
    glBindVertexArray(lights[0]->quadVertexArray());
    for (Light* light : lights) {
        light->blurShadowMap();
    }
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
}

// The pig reflects the reduced room and the nearest large pieces only: the
// 128-pixel faces could not show more.
void AppMain::renderEnvironmentCube()
{
    Shader& cube = *shaders["environmentCube"];
    // The cube program's geometry stage takes triangles only, so the reflection
    // stays solid while the wire frame is on.
    unsigned int sceneDrawMode = drawMode;
    drawMode = GL_TRIANGLES;
    setLightUniforms(cube);
    reflectiveObject->beginCubeRender(cube);
    glm::vec3 centre = reflectiveObject->mesh->boundingSphere.worldCentre;
    drawIntoCube(*reducedLevel->room, cube, centre);
    drawIntoCube(*sceneGeometries[0], cube, centre);
    drawIntoCube(*parallaxObjects[1], cube, centre);
    clearLightTextures();
    drawMode = sceneDrawMode;
}

void AppMain::renderLitScene()
{
    TextureManager* textures = TextureManager::getInstance();
    glBindFramebuffer(GL_FRAMEBUFFER, textures->getSceneFramebuffer());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, windowWidth, windowHeight);
    followedPlayer = 0;

    setLightUniforms(*shaders["phong"]);
    level->room->draw(*activeCamera);
    reflectiveObject->draw(*activeCamera);
    for (Geometry* geometry : sceneGeometries) {
        geometry->draw(*activeCamera);
    }
    clearLightTextures();

    setLightUniforms(*shaders["parallax"]);
    for (ParallaxGeometry* piece : parallaxObjects) {
        piece->draw(*activeCamera);
    }
    clearLightTextures();

    // With transparency on, blending stays enabled through the motion-blur
    // pass and the overlay; it goes off again at the end of the frame.
    if (transparency) {
        glEnable(GL_BLEND);
    }
}

void AppMain::renderMotionBlur()
{
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Shader& blur = *shaders["motionblur"];
    glUseProgram(blur.program());
    glBindTexture(GL_TEXTURE_2D, TextureManager::getInstance()->getSceneTexture());
    glUniform1i(blur.location(ShaderLocation::colorMap), 0);

    level->room->drawVelocity(*activeCamera, blur);
    parallaxObjects[0]->drawVelocity(*activeCamera, blur);
    reflectiveObject->drawVelocity(*activeCamera, blur);
    parallaxObjects[1]->drawVelocity(*activeCamera, blur);
    parallaxObjects[2]->drawVelocity(*activeCamera, blur);
    for (Geometry* geometry : sceneGeometries) {
        geometry->drawVelocity(*activeCamera, blur);
    }

    // The first frame has no frame time yet; it gets no blur rather than an infinite one.
    double blurScale = deltaTime > 0.0 ? referenceFrameTime / deltaTime * motionBlurStrength : 0.0;
    glUniform1f(blur.location(ShaderLocation::blurScale), static_cast<float>(blurScale));

    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
}

void AppMain::setLightUniforms(Shader& program)
{
    glUseProgram(program.program());
    const ShaderLocation shadowMaps[] = {ShaderLocation::varianceShadowMap1, ShaderLocation::varianceShadowMap2,
                                         ShaderLocation::varianceShadowMap3};
    for (int unit = 3; unit >= 1; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, lights[unit - 1]->momentsTexture());
        glUniform1i(program.location(shadowMaps[unit - 1]), unit);
    }
    glActiveTexture(GL_TEXTURE0);

    auto columns = [this](const glm::vec3& (Light::*value)() const) {
        return glm::mat3((lights[0]->*value)(), (lights[1]->*value)(), (lights[2]->*value)());
    };
    glm::mat3 color = columns(&Light::color);
    glm::mat3 attenuation = columns(&Light::attenuation);
    glm::mat3 direction = columns(&Light::spotDirection);
    glm::mat3 position = columns(&Light::position);
    glUniformMatrix3fv(program.location(ShaderLocation::lightColor), 1, GL_FALSE, glm::value_ptr(color));
    glUniformMatrix3fv(program.location(ShaderLocation::attenuation), 1, GL_FALSE, glm::value_ptr(attenuation));
    glUniformMatrix3fv(program.location(ShaderLocation::spotDirection), 1, GL_FALSE, glm::value_ptr(direction));
    glUniformMatrix3fv(program.location(ShaderLocation::lightPosition), 1, GL_FALSE, glm::value_ptr(position));

    const float cutoffs[] = {lights[0]->spotCosCutoff(), lights[1]->spotCosCutoff(), lights[2]->spotCosCutoff()};
    const float exponents[] = {lights[0]->spotExponent(), lights[1]->spotExponent(), lights[2]->spotExponent()};
    glUniform1fv(program.location(ShaderLocation::spotCosCutoff), 3, cutoffs);
    glUniform1fv(program.location(ShaderLocation::spotExponent), 3, exponents);
}

void AppMain::clearLightTextures()
{
    for (int unit = 3; unit >= 1; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
    glUseProgram(0);
}
