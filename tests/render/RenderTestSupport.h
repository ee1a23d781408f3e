#pragma once

// Set-up shared by the render tests, over the GL and asset helpers: the
// frame settings put back, and a light's shadow pass as the frame runs it.

#include "render/Light.h"
#include "settings/Settings.h"
#include "support/AssetFiles.h"
#include "support/GLProgramTestSupport.h"

#include <glm/gtc/matrix_transform.hpp>

namespace rendertest {

// The texture folder, holding the white texture that entries without a
// texture of their own get, and the models. Needs a current context.
struct SceneFiles : assettest::AssetFolder {
    SceneFiles() { texture("white.png"); }
    std::string model(const std::string& name, const std::string& text) const { return write(name, text); }
};

// Puts back the frame settings a test changes.
struct SettingsGuard {
    ~SettingsGuard()
    {
        frustumCulling = culling;
        drawCounter = counter;
    }
    const bool culling = frustumCulling;
    const std::uint32_t counter = drawCounter;
};

// Points the lights' blur program at the source tree for one test.
class LightShaderDirectory {
public:
    LightShaderDirectory() : previous(Light::shaderDirectory()) { Light::setShaderDirectory(shaderDirectory); }
    ~LightShaderDirectory() { Light::setShaderDirectory(previous); }
    LightShaderDirectory(const LightShaderDirectory&) = delete;
    LightShaderDirectory& operator=(const LightShaderDirectory&) = delete;

private:
    std::string previous;
};

// The frame's shadow pass and blur for one light: the casters' depth moments
// (their vertex arrays carry world positions) into its map, then blurred in place.
inline void renderShadowMap(Light& light, Shader& shadowProgram, const std::vector<const VertexArray*>& casters)
{
    glBindFramebuffer(GL_FRAMEBUFFER, light.shadowFramebuffer());
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, 1024, 1024);
    glEnable(GL_DEPTH_TEST);
    glUseProgram(shadowProgram.program());
    const glm::mat4 projection = glm::perspective(glm::radians(Light::shadowFieldOfView), Light::shadowAspect,
                                                  light.nearPlane(), light.farPlane());
    const glm::mat4 mvp = projection * *light.inverseModelMatrix;
    glUniformMatrix4fv(shadowProgram.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(mvp));
    for (const VertexArray* caster : casters) {
        caster->draw();
    }

    glDisable(GL_DEPTH_TEST);
    glUseProgram(light.blurShader().program());
    glBindVertexArray(light.quadVertexArray());
    glActiveTexture(GL_TEXTURE0);
    light.blurShadowMap();
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
}

} // namespace rendertest
