#pragma once

#include <epoxy/gl.h>
#include <glm/mat4x4.hpp>

#include <array>
#include <span>
#include <vector>

// Geometry of the status panel in the upper right corner of the screen and of
// the full-screen picture quad: every quad in normalized device coordinates,
// its texture coordinates in the "numbers" atlas (or the whole picture).
namespace hud {

// One axis-aligned quad: position x0..x1 by y0..y1, texture u0..u1 by v0..v1.
struct QuadCorners {
    float x0, x1, y0, y1;
    float u0, u1, v0, v1;
};

constexpr int verticesPerQuad = 4;
constexpr int quadCount = 22;
constexpr int labelCount = 8;
constexpr int placementCount = 12;

// Quads 0 to 9 are the digits 0 to 9, 10 to 17 the row labels, 18 to 21 the
// state words; digits and words all sit in row 0, column 0 until placed.
constexpr int firstLabelQuad = 10;
constexpr int wordOn = 18;
constexpr int wordOff = 19;
constexpr int firstFilterWord = 20;
constexpr int secondFilterWord = 21;

// The panel's 22 quads in drawing-buffer order.
std::array<QuadCorners, quadCount> quadTable();
// The whole window with the whole picture on it.
QuadCorners screenCorners();

// Two floats per vertex; each quad's corners in the order lower left, lower
// right, upper right, upper left, so that a triangle fan of 4 covers it.
std::vector<float> cornerPositions(std::span<const QuadCorners> quads);
std::vector<float> cornerTexCoords(std::span<const QuadCorners> quads);

// First vertex and vertex count of each label quad, for one multi-draw.
std::array<GLint, labelCount> labelFirsts();
std::array<GLsizei, labelCount> labelCounts();

// Column and row of each placement: row 0 columns 0 to 2, row 1 columns 0
// to 2, then rows 2 to 7 in column 0. Glyph i of the panel uses placement i.
struct PlacementCell {
    int row;
    int column;
};
PlacementCell placementCell(int placement);
std::array<glm::mat4, placementCount> placements();

} // namespace hud
