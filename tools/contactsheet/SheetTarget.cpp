#include "SheetTarget.h"

SheetTarget::SheetTarget(int columns, int rows, int cellSize)
    : columns(columns)
    , rows(rows)
    , cellSize(cellSize)
    , framebuffer(GLFramebuffer::create())
    , colour(GLTexture::create())
    , depth(GLTexture::create())
{
    // Plain 8-bit colour: the lit program already writes sRGB-encoded values,
    // which is what a PNG holds.
    glBindTexture(GL_TEXTURE_2D, colour.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width(), height(), 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, depth.id());
    glTexImage2D(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT24, width(), height(), 0, GL_DEPTH_COMPONENT, GL_FLOAT,
                 nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);

    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, colour.id(), 0);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_TEXTURE_2D, depth.id(), 0);
    complete_ = glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void SheetTarget::beginCell(int cell, const glm::vec3& background) const
{
    const glm::ivec2 corner = cellCorner(cell);
    const int bottom = height() - corner.y - cellSize; // the GL counts rows from the bottom
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
    glViewport(corner.x, bottom, cellSize, cellSize);
    // The clear ignores the viewport; the scissor keeps it to this cell.
    glEnable(GL_SCISSOR_TEST);
    glScissor(corner.x, bottom, cellSize, cellSize);
    glClearColor(background.r, background.g, background.b, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
}

FIBITMAP* SheetTarget::readImage() const
{
    FIBITMAP* image = FreeImage_Allocate(width(), height(), 24);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    // Both the GL and FreeImage keep the bottom row first; FreeImage's rows
    // are padded, so each is read on its own, in its BGR byte order.
    for (int y = 0; y < height(); ++y) {
        glReadPixels(0, y, width(), 1, GL_BGR, GL_UNSIGNED_BYTE, FreeImage_GetScanLine(image, y));
    }
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return image;
}

glm::ivec2 SheetTarget::cellCorner(int cell) const
{
    return {(cell % columns) * cellSize, (cell / columns) * cellSize};
}
