#pragma once

// Scratch files for the tests of the assets layer and those above it: a folder
// the texture manager reads from while it lives, holding pictures written with
// FreeImage and any model text a test gives.

#include "assets/TextureManager.h"
#include "support/CapturedOutput.h"
#include "support/ScratchDir.h"

#include <FreeImage.h>

#include <algorithm>
#include <functional>
#include <string>

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
        const int flags = format == FIF_JPEG ? JPEG_QUALITYSUPERB : 0;
        const bool saved = FreeImage_Save(format, image, path(fileName).c_str(), flags) != FALSE;
        FreeImage_Unload(image);
        return saved;
    }
    // A small opaque PNG of one colour.
    bool texture(const std::string& fileName, Colour colour = {255, 255, 255, 255}) const
    {
        return save(makeSolidImage(2, 2, colour), FIF_PNG, fileName);
    }

private:
    std::string savedDirectory = TextureManager::getInstance()->getTextureDirectory();
    int savedSampling = TextureManager::getInstance()->getSamplingMode();
    int savedMipmapping = TextureManager::getInstance()->getMipmapMode();
    ScratchDir folder{"brimbolt_assets"};
};

} // namespace assettest
