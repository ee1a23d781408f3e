#pragma once

#include "assets/TextureManager.h"
#include "support/ScratchDir.h"

#include <FreeImage.h>

#include <epoxy/gl.h>

#include <filesystem>
#include <string>
#include <vector>

// Image files for the texture tests, written with FreeImage into a scratch
// folder that the texture manager reads from while the object lives.
namespace testimages {

struct Colour {
    int red;
    int green;
    int blue;
    int alpha;
};

// A colour per texel that tells the channels and the rows apart; y counts
// from the bottom row, as both FreeImage and GL do.
inline Colour patternColour(unsigned x, unsigned y)
{
    return {static_cast<int>(20 + 40 * x), static_cast<int>(30 + 70 * y), static_cast<int>(230 - 35 * x),
            static_cast<int>(250 - 60 * y)};
}

// A 24- or 32-bit image filled with patternColour.
inline FIBITMAP* makePatternImage(unsigned width, unsigned height, unsigned bitsPerPixel)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height),
                                         static_cast<int>(bitsPerPixel));
    unsigned bytesPerPixel = bitsPerPixel / 8;
    for (unsigned y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x) {
            Colour colour = patternColour(x, y);
            BYTE* pixel = row + x * bytesPerPixel;
            pixel[FI_RGBA_RED] = static_cast<BYTE>(colour.red);
            pixel[FI_RGBA_GREEN] = static_cast<BYTE>(colour.green);
            pixel[FI_RGBA_BLUE] = static_cast<BYTE>(colour.blue);
            if (bytesPerPixel == 4) {
                pixel[FI_RGBA_ALPHA] = static_cast<BYTE>(colour.alpha);
            }
        }
    }
    return image;
}

inline FIBITMAP* makeSolidImage(unsigned width, unsigned height, Colour colour)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 24);
    RGBQUAD fill{static_cast<BYTE>(colour.blue), static_cast<BYTE>(colour.green), static_cast<BYTE>(colour.red), 0};
    FreeImage_FillBackground(image, &fill);
    return image;
}

// An 8-bit image with FreeImage's default grey ramp palette, every texel `level`.
inline FIBITMAP* makeGreyImage(unsigned width, unsigned height, BYTE level)
{
    FIBITMAP* image = FreeImage_Allocate(static_cast<int>(width), static_cast<int>(height), 8);
    for (unsigned y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(image, static_cast<int>(y));
        for (unsigned x = 0; x < width; ++x) {
            row[x] = level;
        }
    }
    return image;
}

// Level 0 of a 2D texture as tightly packed RGBA bytes, bottom row first.
inline std::vector<BYTE> readRgba(GLuint texture, int width, int height)
{
    std::vector<BYTE> texels(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

// Level 0 of a depth texture as floats in [0, 1], bottom row first.
inline std::vector<float> readDepth(GLuint texture, int width, int height)
{
    std::vector<float> texels(static_cast<size_t>(width) * static_cast<size_t>(height));
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_DEPTH_COMPONENT, GL_FLOAT, texels.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texels;
}

inline GLint levelParameter(GLuint texture, GLenum parameter)
{
    GLint value = 0;
    glBindTexture(GL_TEXTURE_2D, texture);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, parameter, &value);
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

inline GLint boundTexture()
{
    GLint texture = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &texture);
    return texture;
}

// Points the texture manager at a fresh folder. Declare it after
// GL_TEST_SETUP so its textures are deleted while the context still exists.
class TextureFolder {
public:
    TextureFolder() { TextureManager::getInstance()->setTextureDirectory(folder.path().string() + "/"); }
    ~TextureFolder()
    {
        TextureManager* manager = TextureManager::getInstance();
        manager->deleteAllTextures();
        manager->setTextureDirectory(defaultDirectory);
    }
    TextureFolder(const TextureFolder&) = delete;
    TextureFolder& operator=(const TextureFolder&) = delete;

    std::filesystem::path file(const std::string& fileName) const { return folder.path() / fileName; }

    // Saves and unloads the image; the format decides the bytes, not the name.
    bool save(FIBITMAP* image, FREE_IMAGE_FORMAT format, const std::string& fileName) const
    {
        int flags = format == FIF_JPEG ? JPEG_QUALITYSUPERB : 0;
        bool saved = FreeImage_Save(format, image, file(fileName).c_str(), flags) != FALSE;
        FreeImage_Unload(image);
        return saved;
    }
    void writeBytes(const std::string& fileName, const std::string& bytes) const { folder.write(fileName, bytes); }
    void remove(const std::string& fileName) const { std::filesystem::remove(file(fileName)); }

    static constexpr const char* defaultDirectory = "../brimbolt/textures/";

private:
    ScratchDir folder{"brimbolt_textures"};
};

} // namespace testimages
