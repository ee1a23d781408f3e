#pragma once

#include "FuzzScratch.h"

#include "assets/TextureManager.h"

#include <FreeImage.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// What the image fuzz targets share: the input becomes a file in the texture
// folder, is read by the texture manager's decode step (everything
// loadTexture does before its first GL call), and the pixels are then read
// the way glTexImage2D reads them, so a buffer shorter than the upload
// assumes shows up under AddressSanitizer.
namespace texturefuzz {

inline unsigned bytesPerPixel(GLenum pixelFormat)
{
    switch (pixelFormat) {
    case GL_BGRA:
        return 4;
    case GL_BGR:
        return 3;
    default:
        return 1;
    }
}

// As many bytes as GL reads: rows padded to 4 bytes (GL_UNPACK_ALIGNMENT).
inline unsigned readLikeUpload(const TextureManager::DecodedImage& decoded)
{
    const std::size_t rowBytes = (static_cast<std::size_t>(decoded.width) * bytesPerPixel(decoded.pixelFormat) + 3) &
                                 ~static_cast<std::size_t>(3);
    if (FreeImage_GetPitch(decoded.image.get()) != rowBytes) {
        __builtin_trap();
    }
    unsigned sum = 0;
    const std::size_t lastRow = rowBytes * static_cast<std::size_t>(decoded.height - 1);
    const std::size_t lastRowUsed = static_cast<std::size_t>(decoded.width) * bytesPerPixel(decoded.pixelFormat);
    for (std::size_t i = 0; i < lastRow + lastRowUsed; ++i) {
        sum += decoded.pixels[i];
    }
    return sum;
}

// hasAlpha follows the input's length (odd: with alpha), so the mutator
// reaches both conversions.
inline void decodeAndRead(const FuzzScratch& scratch, const std::string& name, std::string_view bytes)
{
    scratch.write(name, bytes);
    const bool hasAlpha = bytes.size() % 2 == 1;
    const TextureManager::DecodedImage decoded = TextureManager::getInstance()->decodeTexture(name, hasAlpha);
    if (!decoded.pixels) {
        return;
    }
    const bool formatAsAsked = hasAlpha ? decoded.pixelFormat == GL_BGRA : decoded.pixelFormat != GL_BGRA;
    if (decoded.width <= 0 || decoded.height <= 0 || !decoded.image || !formatAsAsked) {
        __builtin_trap();
    }
    volatile unsigned sink = readLikeUpload(decoded);
    (void)sink;
}

} // namespace texturefuzz
