#include "effects/HudLayout.h"

#include <glm/gtc/matrix_transform.hpp>

namespace hud {

namespace {

// Digit places are closer than a digit is wide, so that the three digits of
// a number read as one word rather than three spaced-out glyphs.
constexpr float columnStep = 0.025f;
constexpr float rowStep = 0.1f;

} // namespace

std::array<QuadCorners, quadCount> quadTable()
{
    // The atlas is a grid of rows 0.1 high; every glyph is drawn 0.4 times as
    // wide and 0.8 times as high as its atlas cell, and all value glyphs
    // start in row 0, column 0 until a placement moves them.
    std::array<QuadCorners, quadCount> quads{};
    for (int digit = 0; digit < 10; ++digit) {
        float u0 = 0.1f * static_cast<float>(digit);
        quads[static_cast<size_t>(digit)] = {0.80f, 0.84f, 0.81f, 0.89f, u0, u0 + 0.1f, 0.9f, 1.0f};
    }
    quads[10] = {0.50f, 0.58f, 0.81f, 0.89f, 0.0f, 0.2f, 0.7f, 0.8f}; // frame rate
    quads[11] = {0.50f, 0.74f, 0.71f, 0.79f, 0.2f, 0.8f, 0.7f, 0.8f}; // draw calls
    quads[12] = {0.50f, 0.70f, 0.61f, 0.69f, 0.0f, 0.5f, 0.6f, 0.7f}; // wire frame
    quads[13] = {0.50f, 0.78f, 0.51f, 0.59f, 0.0f, 0.7f, 0.5f, 0.6f}; // texture sampling
    quads[14] = {0.50f, 0.70f, 0.41f, 0.49f, 0.0f, 0.5f, 0.4f, 0.5f}; // mipmapping
    quads[15] = {0.50f, 0.62f, 0.31f, 0.39f, 0.5f, 0.8f, 0.6f, 0.7f}; // sound
    quads[16] = {0.50f, 0.78f, 0.21f, 0.29f, 0.0f, 0.7f, 0.3f, 0.4f}; // frustum culling
    quads[17] = {0.50f, 0.74f, 0.11f, 0.19f, 0.0f, 0.6f, 0.2f, 0.3f}; // transparency
    quads[wordOn] = {0.80f, 0.88f, 0.81f, 0.89f, 0.0f, 0.2f, 0.8f, 0.9f};
    quads[wordOff] = {0.80f, 0.88f, 0.81f, 0.89f, 0.2f, 0.4f, 0.8f, 0.9f};
    quads[firstFilterWord] = {0.80f, 0.96f, 0.81f, 0.89f, 0.0f, 0.4f, 0.1f, 0.2f};
    quads[secondFilterWord] = {0.80f, 0.92f, 0.81f, 0.89f, 0.4f, 0.7f, 0.1f, 0.2f};
    return quads;
}

QuadCorners screenCorners()
{
    return {-1.0f, 1.0f, -1.0f, 1.0f, 0.0f, 1.0f, 0.0f, 1.0f};
}

std::vector<float> cornerPositions(std::span<const QuadCorners> quads)
{
    std::vector<float> values;
    values.reserve(quads.size() * verticesPerQuad * 2);
    for (const QuadCorners& quad : quads) {
        values.insert(values.end(), {quad.x0, quad.y0, quad.x1, quad.y0, quad.x1, quad.y1, quad.x0, quad.y1});
    }
    return values;
}

std::vector<float> cornerTexCoords(std::span<const QuadCorners> quads)
{
    std::vector<float> values;
    values.reserve(quads.size() * verticesPerQuad * 2);
    for (const QuadCorners& quad : quads) {
        values.insert(values.end(), {quad.u0, quad.v0, quad.u1, quad.v0, quad.u1, quad.v1, quad.u0, quad.v1});
    }
    return values;
}

std::array<GLint, labelCount> labelFirsts()
{
    std::array<GLint, labelCount> firsts{};
    for (int label = 0; label < labelCount; ++label) {
        firsts[static_cast<size_t>(label)] = (firstLabelQuad + label) * verticesPerQuad;
    }
    return firsts;
}

std::array<GLsizei, labelCount> labelCounts()
{
    std::array<GLsizei, labelCount> counts{};
    counts.fill(verticesPerQuad);
    return counts;
}

PlacementCell placementCell(int placement)
{
    if (placement < 6) {
        return {placement / 3, placement % 3};
    }
    return {placement - 4, 0};
}

std::array<glm::mat4, placementCount> placements()
{
    std::array<glm::mat4, placementCount> matrices{};
    for (int placement = 0; placement < placementCount; ++placement) {
        PlacementCell cell = placementCell(placement);
        glm::vec3 shift(columnStep * static_cast<float>(cell.column), -rowStep * static_cast<float>(cell.row), 0.0f);
        matrices[static_cast<size_t>(placement)] = glm::translate(glm::mat4(1.0f), shift);
    }
    return matrices;
}

} // namespace hud
