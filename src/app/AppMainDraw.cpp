// One frame: shadow maps, their blur, the pig's environment cube, the lit
// scene into the off-screen target, and the motion-blur pass into the window,
// then the overlay and the buffer swap.
#include "app/AppMain.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "effects/TextLayout.h"
#include "effects/UserInterface.h"
#include "render/Geometry.h"
#include "render/Level.h"
#include "render/Light.h"
#include "render/ParallaxGeometry.h"
#include "render/PassTimer.h"
#include "render/ReflectiveGeometry.h"
#include "gl/Shader.h"
#include "gl/ShaderLocation.h"
#include "render/ShadowCaster.h"
#include "scene/Camera.h"
#include "scene/CameraPath.h"
#include "scene/RaceTimeline.h"
#include "scene/RoomLayout.h"
#include "settings/Settings.h"

#include <epoxy/gl.h>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cstdio>
#include <string>

namespace {

// The blur smears by the motion of one 60 Hz frame, whatever the frame rate.
constexpr double referenceFrameTime = 0.016;

} // namespace

template <typename PassFunction>
void AppMain::timed(int pass, PassFunction&& render)
{
    if (frameTimer) {
        frameTimer->begin(static_cast<PassTimer::Pass>(pass));
    }
    render();
    if (frameTimer) {
        frameTimer->end();
    }
}

void AppMain::draw()
{
    drawCounter = 0;
    followedPlayer = 0;
    // A benchmark's timer wins; otherwise the passes are timed while the
    // status panel shows their times.
    if (showStatusOverlay && !passTimer && !statusTimer) {
        statusTimer = std::make_unique<PassTimer>();
    }
    frameTimer = passTimer ? passTimer : showStatusOverlay ? statusTimer.get() : nullptr;

    timed(PassTimer::ShadowMaps, [this] { renderShadowMaps(); });
    timed(PassTimer::ShadowBlur, [this] { blurShadowMaps(); });
    timed(PassTimer::EnvironmentCube, [this] { renderEnvironmentCube(); });
    timed(PassTimer::LitScene, [this] { renderLitScene(); });
    timed(PassTimer::MotionBlur, [this] { renderMotionBlur(); });

    activeCamera->storePreviousTransform();

    timed(PassTimer::Overlay, [this] { drawOverlay(); });

    window.swapBuffers();
    if (frameTimer && frameTimer == statusTimer.get()) {
        frameTimer->endFrame();
        for (const PassTimer::FrameTimes& frame : frameTimer->collect()) {
            lastPassMilliseconds = frame.milliseconds;
        }
    }
}

void AppMain::drawOverlay()
{
    glDepthMask(GL_FALSE);
    userInterface->drawDebugOverlay();
    if (raceTime > raceTimeline::creditsStart) {
        userInterface->drawCredits();
    }
    // Letters a thirtieth of the window high: readable at 320 by 180 and
    // out of the way at 1280 by 720.
    const float height = static_cast<float>(windowHeight) / 30.0f;
    std::vector<TextLine> lines;
    auto add = [&](const std::string& text, float x, float y) {
        lines.push_back({text, {x, y}, height, glm::vec4(1.0f)});
    };
    for (std::size_t i = 0; i < viewerLines.size(); ++i) {
        add(viewerLines[i], height * 0.5f, height * (0.5f + static_cast<float>(i)));
    }
    if (showStatusOverlay) {
        // Under the panel's rows, in the lower right.
        const std::vector<std::string> status = statusLines();
        std::size_t longest = 0;
        for (const std::string& line : status) {
            longest = std::max(longest, line.size());
        }
        const float x = static_cast<float>(windowWidth) - height * 0.6f * static_cast<float>(longest + 1);
        const float top = static_cast<float>(windowHeight) - height * (0.5f + static_cast<float>(status.size()));
        for (std::size_t i = 0; i < status.size(); ++i) {
            add(status[i], x, top + height * static_cast<float>(i));
        }
    }
    userInterface->drawText(lines, {windowWidth, windowHeight});
    glDisable(GL_BLEND);
    glDepthMask(GL_TRUE);
}

// The time of each pass as the GPU measured it a few frames ago, and the
// race time.
std::vector<std::string> AppMain::statusLines() const
{
    std::vector<std::string> lines;
    char line[64];
    for (int pass = 0; pass < PassTimer::PassCount; ++pass) {
        std::snprintf(line, sizeof line, "%-17s%5.1f ms",
                      std::string(PassTimer::name(static_cast<PassTimer::Pass>(pass))).c_str(),
                      lastPassMilliseconds[static_cast<std::size_t>(pass)]);
        lines.emplace_back(line);
    }
    std::snprintf(line, sizeof line, "%-17s%7.2f s", "race time", raceTime);
    lines.emplace_back(line);
    return lines;
}

void AppMain::renderShadowMaps()
{
    Shader& shadow = program("shadow");
    glUseProgram(shadow.program());

    for (Light* light : lights) {
        const auto mapSize = static_cast<GLsizei>(light->shadowMapSize());
        glViewport(0, 0, mapSize, mapSize);
        glBindFramebuffer(GL_FRAMEBUFFER, light->shadowFramebuffer());
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        const ShadowCaster caster(*light);
        const ShadowPass pass{shadow, caster};
        for (Drawable* object : frameLists.shadowCasters) {
            if (object->isDrawn()) {
                object->drawShadow(pass);
            }
        }
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

void AppMain::renderEnvironmentCube()
{
    Shader& cube = program("environmentCube");
    // The cube program's geometry stage takes triangles only, so the reflection
    // stays solid while the wire frame is on.
    unsigned int sceneDrawMode = drawMode;
    drawMode = GL_TRIANGLES;
    setLightUniforms(cube);
    reflectiveObject->beginCubeRender(cube);
    const CubeMapPass pass{cube, reflectiveObject->mesh->boundingSphere.worldCentre};
    for (Drawable* object : frameLists.cubeContents) {
        if (object->isDrawn()) {
            object->drawToCubeMap(pass);
        }
    }
    clearLightTextures();
    drawMode = sceneDrawMode;
}

void AppMain::renderLitScene()
{
    TextureManager* textures = TextureManager::getInstance();
    glBindFramebuffer(GL_FRAMEBUFFER, textures->getSceneFramebuffer());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, textures->getSceneWidth(), textures->getSceneHeight());
    chooseCamera();

    auto drawLit = [this](const char* name, const std::vector<Drawable*>& objects) {
        Shader& lit = program(name);
        setLightUniforms(lit);
        const LitPass pass{lit, *activeCamera};
        for (Drawable* object : objects) {
            if (object->isDrawn()) {
                object->draw(pass);
            }
        }
        clearLightTextures();
    };
    drawLit("phong", frameLists.phongLit);
    drawLit("parallax", frameLists.parallaxLit);

    renderTransparentEffects();
}

// The camera path picks the view for the race time, and says which player's
// chase camera it rides with, if any; a fixed view set by a tool wins.
void AppMain::chooseCamera()
{
    if (fixedView) {
        activeCamera = fixedView;
        followedPlayer = 0;
        return;
    }
    const CameraPath::Shot shot = cameraPath->cameraAt(static_cast<float>(raceTime));
    activeCamera = shot.camera;
    followedPlayer = shot.followedPlayer;
}

// Smoke and sparks go over the finished opaque scene without writing depth, so
// they never hide one another. With transparency on, blending stays enabled
// from here through the motion-blur pass and the overlay; the end of the frame
// switches it off.
void AppMain::renderTransparentEffects()
{
    if (transparency) {
        glEnable(GL_BLEND);
    }
    glDepthMask(GL_FALSE);
    for (const FrameLists::Effect& drawEffect : frameLists.transparentEffects) {
        drawEffect(*activeCamera);
    }
    glDepthMask(GL_TRUE);
}

void AppMain::renderMotionBlur()
{
    if (!quality.motionBlur) {
        scaleSceneIntoWindow();
        return;
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    Shader& blur = program("motionblur");
    glUseProgram(blur.program());
    glBindTexture(GL_TEXTURE_2D, TextureManager::getInstance()->getSceneTexture());
    glUniform1i(blur.location(ShaderLocation::colorMap), 0);

    // Everything but the players is drawn with the scale the last player left
    // set, which is the previous frame's normal scale.
    const VelocityPass pass{blur, *activeCamera};
    for (Drawable* object : frameLists.velocity) {
        if (object->isDrawn()) {
            object->drawVelocity(pass);
        }
    }

    // The smear is the motion since the frame before, scaled to what 16 ms of
    // it would be; a frame in which the race did not move (the first one, or
    // one shorter than a race step) gets no blur rather than an infinite one.
    double normalScale =
        frameRaceSeconds > 0.0 ? referenceFrameTime / frameRaceSeconds * motionBlurStrength : 0.0;
    for (const FrameLists::PlayerVelocity& player : frameLists.playerVelocity) {
        // The car the camera rides with stands still on screen: no streaks.
        if (followedPlayer == player.player) {
            setBlurScale(blur, 0.0);
        }
        for (Drawable* object : player.objects) {
            object->drawVelocity(pass);
        }
        setBlurScale(blur, normalScale);
    }

    glBindTexture(GL_TEXTURE_2D, 0);
    glUseProgram(0);
}

// The cheap picture's last pass: the scene image, already encoded for the
// screen, filtered up to the window's size as it is.
void AppMain::scaleSceneIntoWindow()
{
    const TextureManager* textures = TextureManager::getInstance();
    glBindFramebuffer(GL_READ_FRAMEBUFFER, textures->getSceneFramebuffer());
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
    glViewport(0, 0, windowWidth, windowHeight);
    glDisable(GL_FRAMEBUFFER_SRGB);
    glBlitFramebuffer(0, 0, textures->getSceneWidth(), textures->getSceneHeight(), 0, 0, windowWidth, windowHeight,
                      GL_COLOR_BUFFER_BIT, GL_LINEAR);
    glEnable(GL_FRAMEBUFFER_SRGB);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void AppMain::setBlurScale(Shader& program, double scale)
{
    glUniform1f(program.location(ShaderLocation::blurScale), static_cast<float>(scale));
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
