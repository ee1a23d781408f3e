#pragma once

#include "effects/HudLayout.h"
#include "effects/QuadArray.h"
#include "effects/TextLayout.h"
#include "gl/Shader.h"
#include "scene/RoomLayout.h"

#include <epoxy/gl.h>
#include <glm/mat4x4.hpp>

#include <array>
#include <span>
#include <string>

namespace platform {
class Window;
}

// Everything that lies flat on the screen: the start picture shown while the
// content loads, the credits late in a race and the status panel in the upper
// right corner. All of it is textured quads in normalized device coordinates,
// drawn with one small program, the ortho shader.
class UserInterface {
public:
    static constexpr const char* defaultShaderDirectory = roomLayout::shaderFolder;
    static constexpr const char* shaderFailure = "Could not compile minimal shader program.";

    // Builds the ortho program from "<shaderDirectory>orthoShader", loads the
    // pictures "credits", "start" and "numbers" and makes both quad arrays.
    // A program that cannot be built throws shaderFailure (a const char*);
    // a missing picture is not an error.
    explicit UserInterface(const std::string& shaderDirectory = defaultShaderDirectory);
    // Deletes the panel quads, then the screen quad, then the program.
    virtual ~UserInterface();

    UserInterface(const UserInterface&) = delete;
    UserInterface& operator=(const UserInterface&) = delete;

    // Covers the window with the start picture and presents it at once, so
    // that it stays up while loading blocks the loop.
    void drawStartScreen(platform::Window& window);
    // The status panel while showStatusOverlay is on; nothing otherwise.
    void drawDebugOverlay();
    // The credits picture over the whole window, blended as the caller set up.
    void drawCredits();
    // Lines of text set in the "glyphs" picture, blended over the frame
    // whatever the transparency switch says; leaves blending and depth
    // testing as it found them.
    void drawText(std::span<const TextLine> lines, glm::ivec2 windowSize);

    GLuint getProgram() const { return shader.program(); }
    const QuadArray& getScreenQuad() const { return screenQuad; }
    const QuadArray& getHudQuads() const { return hudQuads; }
    const std::array<GLint, hud::labelCount>& getLabelFirsts() const { return labelFirsts; }
    const std::array<GLsizei, hud::labelCount>& getLabelCounts() const { return labelCounts; }
    const std::array<glm::mat4, hud::placementCount>& getPlacements() const { return placements; }

private:
    void drawQuad(int quad) const;
    void setModelMatrix(const glm::mat4& matrix) const;
    void drawStatusPanel() const;

    // Declared in creation order, so that members go in the reverse order:
    // panel quads, screen quad, program.
    Shader shader;
    GLint colorMapLocation = -1;
    GLint modelMatrixLocation = -1;
    GLint colorLocation = -1;
    QuadArray screenQuad;
    QuadArray hudQuads;
    // Text is laid out anew every frame into these.
    GLVertexArray textVertexArray;
    GLBuffer textPositions;
    GLBuffer textTexCoords;
    std::array<GLint, hud::labelCount> labelFirsts{};
    std::array<GLsizei, hud::labelCount> labelCounts{};
    std::array<glm::mat4, hud::placementCount> placements{};
};
