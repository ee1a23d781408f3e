#include "models/ReliefImages.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {
// Near-lossless, and no chroma subsampling: each channel of a normal map is
// data, not colour.
constexpr int jpegFlags = 95 | JPEG_SUBSAMPLING_444 | JPEG_OPTIMIZE;

BYTE toByte(float value)
{
    return static_cast<BYTE>(std::lround(std::clamp(value, 0.0f, 1.0f) * 255.0f));
}

bool save(FIBITMAP* bitmap, const std::filesystem::path& path)
{
    bool ok = bitmap && FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), jpegFlags);
    if (bitmap) {
        FreeImage_Unload(bitmap);
    }
    if (!ok) {
        std::fprintf(stderr, "Cannot write '%s'\n", path.c_str());
    }
    return ok;
}
} // namespace

bool writeHeightJpeg(const ReliefImage& image, const std::filesystem::path& path)
{
    // An 8-bit bitmap comes with a black-to-white palette, which the texture
    // loader needs to see to take it as a height map.
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 8);
    if (bitmap) {
        for (int y = 0; y < image.height; ++y) {
            BYTE* row = FreeImage_GetScanLine(bitmap, y);
            for (int x = 0; x < image.width; ++x) {
                row[x] = toByte(image.heights[static_cast<std::size_t>(y) * image.width + x]);
            }
        }
    }
    return save(bitmap, path);
}

bool writeNormalJpeg(const ReliefImage& image, const std::filesystem::path& path)
{
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, 24);
    if (bitmap) {
        for (int y = 0; y < image.height; ++y) {
            BYTE* row = FreeImage_GetScanLine(bitmap, y);
            for (int x = 0; x < image.width; ++x) {
                glm::vec3 n = image.normals[static_cast<std::size_t>(y) * image.width + x] * 0.5f + 0.5f;
                BYTE* pixel = row + 3 * x;
                pixel[FI_RGBA_RED] = toByte(n.x);
                pixel[FI_RGBA_GREEN] = toByte(n.y);
                pixel[FI_RGBA_BLUE] = toByte(n.z);
            }
        }
    }
    return save(bitmap, path);
}
