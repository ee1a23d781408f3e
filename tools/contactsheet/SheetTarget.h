#pragma once

#include "gl/GLObject.h"

#include <FreeImage.h>
#include <epoxy/gl.h>
#include <glm/glm.hpp>

// The off-screen picture the contact sheet is drawn into: a grid of square
// cells in one colour texture with its own depth, read back as one image.
class SheetTarget {
public:
    SheetTarget(int columns, int rows, int cellSize);

    // False when the GL would not make the framebuffer; nothing can be drawn then.
    bool complete() const { return complete_; }

    // Binds the target with the viewport on one cell (numbered from the top
    // left, row by row) and clears that cell to the background.
    void beginCell(int cell, const glm::vec3& background) const;

    // The whole sheet as a 24-bit image; the caller unloads it.
    FIBITMAP* readImage() const;

    // Top-left corner of a cell in image pixels, y counted down from the top.
    glm::ivec2 cellCorner(int cell) const;

    int width() const { return columns * cellSize; }
    int height() const { return rows * cellSize; }

private:
    int columns;
    int rows;
    int cellSize;
    GLFramebuffer framebuffer;
    GLTexture colour;
    GLTexture depth;
    bool complete_ = false;
};
