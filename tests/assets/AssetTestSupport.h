#pragma once

// Shared pieces of the asset tests (also used by the render and tools tests
// through TestImages.h and MeshTestFiles.h): a scratch folder that the texture
// manager reads from, images written with FreeImage, GL read-backs and an
// sRGB target that behaves like the window's framebuffer.

#include "assets/TextureManager.h"
#include "gl/GLObject.h"
#include "support/ScratchDir.h"

#include <FreeImage.h>
#include <epoxy/gl.h>
#include "support/CapturedOutput.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace assettest {

struct Colour {
    int red, green, blue, alpha;
};

// A colour per texel that tells the channels and the rows apart; y counts
// from the bottom row, as both FreeImage and GL do.
inline Colour patternColour(unsigned x, unsigned y)
{
    return {static_cast<int>(20 + 40 * x), static_cast<int>(30 + 70 * y), static_cast<int>(230 - 35 * x),
            static_cast<int>(250 - 60 * y)};
}

// A 24- or 32-bit image with colourAt(x, y) in every texel.
inline FIBITMAP* makeImage(unsigned width, unsigned height, unsigned bitsPerPixel,
                           const std::function<Colour(unsigned, unsigned)>& colourAt = patternColour)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                                         static_cast<int>(bitsPerPixel));
    for (unsigned y = 0; y < height; ++y) {
        for (unsigned x = 0; x < width; ++x) {
            const Colour colour = colourAt(x, y);
            BYTE* pixel = FreeImage_GetScanLine(image, static_cast<int>(y)) + x * (bitsPerPixel / 8);
            pixel[FI_RGBA_RED] = static_cast<BYTE>(colour.red);
            pixel[FI_RGBA_GREEN] = static_cast<BYTE>(colour.green);
            pixel[FI_RGBA_BLUE] = static_cast<BYTE>(colour.blue);
            if (bitsPerPixel == 32) {
                pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(colour.alpha);
            }
        }
    }
    return image;
}

inline FIBITMAP* makeSolidImage(unsigned width, unsigned height, Colour colour, unsigned bitsPerPixel = 24)
{
    return makeImage(width, height, bitsPerPixel, [colour](unsigned, unsigned) { return colour; });
}

// An 8-bit image with FreeImage's default grey ramp palette, every texel `level`.
inline FIBITMAP* makeGreyImage(unsigned width, unsigned height, BYTE level)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 8);
    for (unsigned y = 0; y < height; ++y) {
        std::fill_n(FreeImage_GetScanLine(image, static_cast<int>(y)), width, level);
    }
    return image;
}

// Level 0 of a 2D texture, bottom row first: RGBA bytes, or depth in [0, 1].
inline std::vector<BYTE> readRgba(GLuint texture, int width, int height)
{
    std::vector<BYTE> texels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

inline std::vector<float> readDepth(GLuint texture, int width, int height)
{
    std::vector<float> texels(static_cast<size_t>(width) * static_cast<size_t>(height));
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

inline GLint levelParameter(GLuint texture, GLenum parameter, GLint level = 0)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

inline GLint textureParameter(GLuint texture, GLenum parameter)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexParameteriv(GL_TEXTURE_2D, parameter, &value);
    glBindTexture(GL_TEXTURE_2D, 0);
    return value;
}

// Points the texture manager at a fresh folder that also holds the test's
// model files. Declare it after GL_TEST_SETUP: the manager's GL objects are
// released, and its folder and filter modes put back, at the end.
class AssetFolder {
public:
    AssetFolder() { TextureManager::getInstance()->setTextureDirectory(folder.path().string() + "/"); }
    ~AssetFolder()
    {
        TextureManager* manager = TextureManager::getInstance();
        manager->releaseGLObjects(); // makes no GL call when nothing was loaded
        manager->setTextureDirectory(savedDirectory);
        manager->setSampling(savedSampling);
        manager->setMipmapping(savedMipmapping);
    }
    AssetFolder(const AssetFolder&) = delete;
    AssetFolder& operator=(const AssetFolder&) = delete;

    std::string path(const std::string& fileName) const { return (folder.path() / fileName).string(); }
    std::string write(const std::string& fileName, const std::string& bytes) const
    {
        return folder.write(fileName, bytes).string();
    }
    // Saves and unloads the image; the format decides the bytes, not the name.
    bool save(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& fileName) const
    {
        int flags = format == FIF_JPEG ? JPEG_QUALITYSUPERB : 0;
        bool saved = FreeImage_Save(format, image, path(fileName).c_str(), flags) != FALSE;
        FreeImage_Unload(image);
        return saved;
    }
    // A small opaque white PNG.
    bool texture(const std::string& fileName) const
    {
        return save(makeSolidImage(2, 2, {255, 255, 255, 255}), FIF_PNG, fileName);
    }

private:
    std::string savedDirectory = TextureManager::getInstance()->getTextureDirectory();
    int savedSampling = TextureManager::getInstance()->getSamplingMode();
    int savedMipmapping = TextureManager::getInstance()->getMipmapMode();
    ScratchDir folder{"brimbolt_assets"};
};

// The bytes of an input the fuzz targets (tools/fuzz) found, kept in
// tests/fuzz/regressions.
inline std::string fuzzRegressionInput(const std::string& name)
{
    std::ifstream file(std::string(BRIMBOLT_SOURCE_DIR) + "/tests/fuzz/regressions/" + name, std::ios::binary);
    EXPECT_TRUE(file) << name;
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

inline std::string shaderDirectory()
{
    return std::string(BRIMBOLT_SOURCE_DIR) + "/brimbolt/Shaders/";
}

// The stored bytes of one pixel of the bound framebuffer, read with the sRGB
// encode off so that the attachment reads back unconverted.
inline std::array<int, 4> readStoredPixel(int x, int y)
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
// GL_FRAMEBUFFER_SRGB on, as the window is; bound and cleared while it lives.
class SrgbTarget {
public:
    SrgbTarget(int width, int height)
    {
        glBindTexture(GL_TEXTURE_2D, texture.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_SRGB8_ALPHA8, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glBindTexture(GL_TEXTURE_2D, 0);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture.id(), 0);
        glViewport(0, 0, width, height);
        glEnable(GL_FRAMEBUFFER_SRGB);
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    ~SrgbTarget()
    {
        glDisable(GL_FRAMEBUFFER_SRGB);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    SrgbTarget(const SrgbTarget&) = delete;
    SrgbTarget& operator=(const SrgbTarget&) = delete;

    bool complete() const { return glCheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE; }

private:
    GLTexture texture = GLTexture::create();
    GLFramebuffer framebuffer = GLFramebuffer::create();
};

} // namespace assettest

// The names the render and tools tests know these helpers by.
namespace testimages = assettest;
namespace meshtest {
using ::printedBy;
class MeshFiles : public assettest::AssetFolder {
public:
    // The flag is kept for existing callers; textures are always deleted at the end.
    explicit MeshFiles(bool /*deleteTexturesAtEnd*/ = true) {}
    std::string model(const std::string& fileName, const std::string& text) const { return write(fileName, text); }
    std::string modelPath(const std::string& fileName) const { return path(fileName); }
};
} // namespace meshtest
