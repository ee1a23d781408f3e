#include "effects/UserInterface.h"

#include "effects/StatusPanel.h"
#include "assets/TextureManager.h"
#include "platform/Window.h"
#include "settings/Settings.h"

#include <glm/gtc/type_ptr.hpp>

#include <utility>

namespace {

constexpr GLint textureUnit0 = 0;

hud::StatusSettings currentStatus()
{
    const TextureManager* textures = TextureManager::getInstance();
    hud::StatusSettings settings;
    settings.framesPerSecond = framesPerSecond;
    settings.drawCounter = drawCounter;
    settings.drawMode = drawMode;
    settings.samplingMode = textures->getSamplingMode();
    settings.mipmapMode = textures->getMipmapMode();
    settings.soundMuted = soundMuted;
    settings.frustumCulling = frustumCulling;
    settings.transparency = transparency;
    return settings;
}

void unbindAll()
{
    glBindVertexArray(0);
    glUseProgram(0);
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

UserInterface::UserInterface(const std::string& shaderDirectory) : shader(shaderDirectory + "orthoShader")
{
    if (shader.program() == 0) {
        throw shaderFailure;
    }
    bindFragmentOutput(shader, "out_color");

    TextureManager* textures = TextureManager::getInstance();
    textures->loadTextureOrReport("credits", true);
    textures->loadTextureOrReport("start", false);
    textures->loadTextureOrReport("numbers", true);
    textures->loadTextureOrReport("glyphs", true);

    colorMapLocation = shader.location(ShaderLocation::colorMap);
    modelMatrixLocation = shader.location(ShaderLocation::modelMatrix);
    colorLocation = shader.location(ShaderLocation::color);

    // Asked by name from the linked program rather than from the shader's
    // cache, so the quads follow whatever the shader files declare.
    const GLuint program = shader.program();
    const GLint positionLocation = glGetAttribLocation(program, "in_position");
    const GLint texCoordLocation = glGetAttribLocation(program, "in_texCoords");

    const std::array<hud::QuadCorners, 1> screen{hud::screenCorners()};
    screenQuad = QuadArray(hud::cornerPositions(screen), hud::cornerTexCoords(screen), positionLocation,
                           texCoordLocation);
    const std::array<hud::QuadCorners, hud::quadCount> table = hud::quadTable();
    hudQuads = QuadArray(hud::cornerPositions(table), hud::cornerTexCoords(table), positionLocation,
                         texCoordLocation);

    textVertexArray = GLVertexArray::create();
    textPositions = GLBuffer::create();
    textTexCoords = GLBuffer::create();
    glBindVertexArray(textVertexArray.id());
    for (auto [buffer, location] : {std::pair{textPositions.id(), positionLocation},
                                    std::pair{textTexCoords.id(), texCoordLocation}}) {
        if (location >= 0) {
            glBindBuffer(GL_ARRAY_BUFFER, buffer);
            glVertexAttribPointer(static_cast<GLuint>(location), 2, GL_FLOAT, GL_FALSE, 0, nullptr);
            glEnableVertexAttribArray(static_cast<GLuint>(location));
        }
    }
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    labelFirsts = hud::labelFirsts();
    labelCounts = hud::labelCounts();
    placements = hud::placements();

    // The start screen sets the tint the other pictures rely on; starting
    // from white keeps the credits and the panel visible even if they are
    // drawn without a start screen first (a uniform otherwise starts at 0).
    glUseProgram(program);
    glUniform4f(colorLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    glUseProgram(0);
}

UserInterface::~UserInterface()
{
    // Explicit, so that reordering the members cannot change the order in
    // which the GL objects go: panel quads, screen quad, then the program.
    textVertexArray = GLVertexArray();
    textPositions = GLBuffer();
    textTexCoords = GLBuffer();
    hudQuads = QuadArray();
    screenQuad = QuadArray();
}

void UserInterface::drawStartScreen(platform::Window& window)
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);

    glUseProgram(shader.program());
    screenQuad.bind();
    TextureManager::getInstance()->bindTexture("start");

    glUniform1i(colorMapLocation, textureUnit0);
    glUniform4f(colorLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    setModelMatrix(glm::mat4(1.0f));

    glDrawArrays(GL_TRIANGLE_FAN, 0, hud::verticesPerQuad);

    unbindAll();
    glEnable(GL_DEPTH_TEST);

    window.swapBuffers();
}

void UserInterface::drawCredits()
{
    glUseProgram(shader.program());
    screenQuad.bind();
    TextureManager::getInstance()->bindTexture("credits");
    glUniform1i(colorMapLocation, textureUnit0);
    setModelMatrix(glm::mat4(1.0f));
    glDrawArrays(GL_TRIANGLE_FAN, 0, hud::verticesPerQuad);
    unbindAll();
}

void UserInterface::drawText(std::span<const TextLine> lines, glm::ivec2 windowSize)
{
    if (lines.empty()) {
        return;
    }
    const GLboolean blending = glIsEnabled(GL_BLEND);
    const GLboolean depthTest = glIsEnabled(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glUseProgram(shader.program());
    glBindVertexArray(textVertexArray.id());
    TextureManager::getInstance()->bindTexture("glyphs");
    glUniform1i(colorMapLocation, textureUnit0);
    setModelMatrix(glm::mat4(1.0f));
    for (const TextLine& line : lines) {
        const TextTriangles triangles = layoutText(line, windowSize);
        glBindBuffer(GL_ARRAY_BUFFER, textPositions.id());
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangles.positions.size() * sizeof(float)),
                     triangles.positions.data(), GL_STREAM_DRAW);
        glBindBuffer(GL_ARRAY_BUFFER, textTexCoords.id());
        glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(triangles.texCoords.size() * sizeof(float)),
                     triangles.texCoords.data(), GL_STREAM_DRAW);
        glUniform4fv(colorLocation, 1, glm::value_ptr(line.colour));
        glDrawArrays(GL_TRIANGLES, 0, static_cast<GLsizei>(triangles.positions.size() / 2));
    }
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    // The other pictures rely on a white tint.
    glUniform4f(colorLocation, 1.0f, 1.0f, 1.0f, 1.0f);
    unbindAll();
    if (!blending) {
        glDisable(GL_BLEND);
    }
    if (depthTest) {
        glEnable(GL_DEPTH_TEST);
    }
}

void UserInterface::drawDebugOverlay()
{
    // Program and quads are bound even when the panel is off, so the frame
    // pays the same state changes whether it shows or not.
    glUseProgram(shader.program());
    hudQuads.bind();
    if (showStatusOverlay) {
        drawStatusPanel();
    }
    unbindAll();
}

void UserInterface::drawStatusPanel() const
{
    const std::array<int, hud::placementCount> glyphs = hud::glyphQuads(currentStatus());

    TextureManager::getInstance()->bindTexture("numbers");

    setModelMatrix(placements[0]);
    glMultiDrawArrays(GL_TRIANGLE_FAN, labelFirsts.data(), labelCounts.data(), hud::labelCount);

    // The first glyph sits in row 0, column 0, whose matrix the labels left set.
    drawQuad(glyphs[0]);
    for (size_t glyph = 1; glyph < glyphs.size(); ++glyph) {
        setModelMatrix(placements[glyph]);
        drawQuad(glyphs[glyph]);
    }
}

void UserInterface::drawQuad(int quad) const
{
    glDrawArrays(GL_TRIANGLE_FAN, quad * hud::verticesPerQuad, hud::verticesPerQuad);
}

void UserInterface::setModelMatrix(const glm::mat4& matrix) const
{
    glUniformMatrix4fv(modelMatrixLocation, 1, GL_FALSE, glm::value_ptr(matrix));
}
