#pragma once

#include "assets/TestImages.h"
#include "assets/TextureManager.h"

#include <FreeImage.h>
#include <epoxy/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

// Shared pieces of the overlay's GL tests: an sRGB render target that behaves
// like the window's framebuffer, the colour-space arithmetic to predict what
// it holds, and the pictures the overlay loads.
namespace overlaytest {

inline std::string shaderDirectory()
{
    return std::string(BRIMBOLT_SOURCE_DIR) + "/brimbolt/Shaders/";
}

inline double decodeSrgb(double encoded)
{
    return encoded <= 0.04045 ? encoded / 12.92 : std::pow((encoded + 0.055) / 1.055, 2.4);
}

inline double encodeSrgb(double linear)
{
    linear = std::clamp(linear, 0.0, 1.0);
    return linear <= 0.0031308 ? linear * 12.92 : 1.055 * std::pow(linear, 1.0 / 2.4) - 0.055;
}

using Pixel = std::array<int, 4>;

// The stored bytes of one pixel of the bound framebuffer. With the encode
// switched off the attachment reads back unconverted, whatever a driver does
// for sRGB reads otherwise.
inline Pixel readStoredPixel(int x, int y)
{
    GLboolean srgbOn = glIsEnabled(GL_FRAMEBUFFER_SRGB);
    glDisable(GL_FRAMEBUFFER_SRGB);
    std::array<unsigned char, 4> bytes{};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, bytes.data());
    if (srgbOn) {
        glEnable(GL_FRAMEBUFFER_SRGB);
    }
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

// An off-screen colour target stored as sRGB and drawn with
// GL_FRAMEBUFFER_SRGB on, as the window is; bound while the object lives.
class SrgbTarget {
public:
    SrgbTarget(int width, int height) : width(width), height(height)
    {
        glGenTextures(1, &texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_SRGB8_ALPHA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glGenFramebuffers(1, &framebuffer);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
        glViewport(0, 0, width, height);
        glEnable(GL_FRAMEBUFFER_SRGB);
    }
    ~SrgbTarget()
    {
        glDisable(GL_FRAMEBUFFER_SRGB);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &framebuffer);
        glDeleteTextures(1, &texture);
    }
    SrgbTarget(const SrgbTarget&) = delete;
    SrgbTarget& operator=(const SrgbTarget&) = delete;

    bool complete() const { return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE; }

    // The stored (encoded) bytes of one pixel, x and y from the lower left.
    Pixel read(int x, int y) const { return readStoredPixel(x, y); }

    int width;
    int height;

private:
    GLuint texture = 0;
    GLuint framebuffer = 0;
};

// Filled texel by texel: FreeImage's background fill leaves alpha alone.
inline FIBITMAP* makeSolidRgbaImage(unsigned width, unsigned height, testimages::Colour colour)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 32);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* line = FreeImage_GetScanLine(image, static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x) {
            BYTE* pixel = line + x * 4;
            pixel[FI_RGBA_RED] = static_cast<BYTE>(colour.red);
            pixel[FI_RGBA_GREEN] = static_cast<BYTE>(colour.green);
            pixel[FI_RGBA_BLUE] = static_cast<BYTE>(colour.blue);
            pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(colour.alpha);
        }
    }
    return image;
}

// The atlas colour of cell (column, row): every cell of the 10 x 10 grid
// tells itself apart, so a pixel shows which quad was drawn there.
inline testimages::Colour atlasCellColour(int column, int row)
{
    return {20 + 20 * column, 20 + 20 * row, 90, 255};
}

// A "numbers" atlas with one texel per cell, row 0 at the bottom as in GL.
inline FIBITMAP* makeCellAtlas()
{
    FIBITMAP* image = FreeImage_Allocate(10, 10, 32);
    for (int row = 0; row < 10; ++row) {
        BYTE* line = FreeImage_GetScanLine(image, row);
        for (int column = 0; column < 10; ++column) {
            testimages::Colour colour = atlasCellColour(column, row);
            BYTE* pixel = line + column * 4;
            pixel[FI_RGBA_RED] = static_cast<BYTE>(colour.red);
            pixel[FI_RGBA_GREEN] = static_cast<BYTE>(colour.green);
            pixel[FI_RGBA_BLUE] = static_cast<BYTE>(colour.blue);
            pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(colour.alpha);
        }
    }
    return image;
}

} // namespace overlaytest
