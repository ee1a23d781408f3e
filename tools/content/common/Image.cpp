#include "common/Image.h"

#include <FreeImage.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

Image::Image(int w, int h, const glm::vec4& fill)
    : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, fill)
{
}

void Image::blendOver(int x, int y, const glm::vec3& colour, float alpha)
{
    if (x < 0 || y < 0 || x >= width || y >= height || alpha <= 0.0f) {
        return;
    }
    glm::vec4& dst = at(x, y);
    alpha = std::min(alpha, 1.0f);
    float outAlpha = alpha + dst.a * (1.0f - alpha);
    glm::vec3 rgb = colour * alpha + glm::vec3(dst) * dst.a * (1.0f - alpha);
    // A fully transparent result keeps the new colour, so filtering towards
    // transparent texels fades into that colour instead of into black.
    dst = glm::vec4(outAlpha > 0.0f ? rgb / outAlpha : colour, outAlpha);
}

Mask::Mask(int w, int h, float fill) : width(w), height(h), values(static_cast<std::size_t>(w) * h, fill) {}

float Mask::wrapped(int x, int y) const
{
    x %= width;
    y %= height;
    return at(x < 0 ? x + width : x, y < 0 ? y + height : y);
}

namespace {

// 4x4 Bayer thresholds, centred on zero, in units of one byte step.
float ditherOffset(int x, int y)
{
    static constexpr int bayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (static_cast<float>(bayer[y & 3][x & 3]) + 0.5f) / 16.0f - 0.5f;
}

BYTE toByte(float value, float offset)
{
    float scaled = std::floor(std::clamp(value, 0.0f, 1.0f) * 255.0f + 0.5f + offset);
    return static_cast<BYTE>(std::clamp(scaled, 0.0f, 255.0f));
}

FIBITMAP* toBitmap(const Image& image, int bitsPerPixel, Quantize quantize)
{
    FIBITMAP* bitmap = FreeImage_Allocate(image.width, image.height, bitsPerPixel, FI_RGBA_RED_MASK,
                                          FI_RGBA_GREEN_MASK, FI_RGBA_BLUE_MASK);
    if (!bitmap) {
        return nullptr;
    }
    const int bytesPerPixel = bitsPerPixel / 8;
    for (int y = 0; y < image.height; ++y) {
        // Scanline 0 is the bottom row, which the program samples at v = 0.
        BYTE* line = FreeImage_GetScanLine(bitmap, image.height - 1 - y);
        for (int x = 0; x < image.width; ++x) {
            const glm::vec4& p = image.at(x, y);
            float offset = quantize == Quantize::dithered ? ditherOffset(x, y) : 0.0f;
            BYTE* out = line + x * bytesPerPixel;
            out[FI_RGBA_RED] = toByte(p.r, offset);
            out[FI_RGBA_GREEN] = toByte(p.g, offset);
            out[FI_RGBA_BLUE] = toByte(p.b, offset);
            if (bytesPerPixel == 4) {
                out[FI_RGBA_ALPHA] = toByte(p.a, 0.0f);
            }
        }
    }
    return bitmap;
}

bool save(FIBITMAP* bitmap, FREE_IMAGE_FORMAT format, const std::filesystem::path& file, int flags)
{
    bool ok = bitmap && FreeImage_Save(format, bitmap, file.string().c_str(), flags);
    if (bitmap) {
        FreeImage_Unload(bitmap);
    }
    if (!ok) {
        std::fprintf(stderr, "Could not write picture '%s'\n", file.string().c_str());
    }
    return ok;
}

int jpegFlags(const JpegCoding& coding)
{
    return coding.quality | JPEG_SUBSAMPLING_444 | (coding.baseline ? JPEG_BASELINE : JPEG_OPTIMIZE);
}

} // namespace

bool writePngRgb(const Image& image, const std::filesystem::path& file, Quantize quantize)
{
    return save(toBitmap(image, 24, quantize), FIF_PNG, file, PNG_Z_DEFAULT_COMPRESSION);
}

bool writePngRgba(const Image& image, const std::filesystem::path& file, Quantize quantize)
{
    return save(toBitmap(image, 32, quantize), FIF_PNG, file, PNG_Z_DEFAULT_COMPRESSION);
}

bool writeJpegRgb(const Image& image, const std::filesystem::path& file, const JpegCoding& coding)
{
    return save(toBitmap(image, 24, Quantize::plain), FIF_JPEG, file, jpegFlags(coding));
}

bool writeJpegGrey(const Mask& mask, const std::filesystem::path& file, const JpegCoding& coding)
{
    FIBITMAP* bitmap = FreeImage_Allocate(mask.width, mask.height, 8);
    if (bitmap) {
        RGBQUAD* palette = FreeImage_GetPalette(bitmap);
        for (int i = 0; i < 256; ++i) {
            palette[i].rgbRed = palette[i].rgbGreen = palette[i].rgbBlue = static_cast<BYTE>(i);
            palette[i].rgbReserved = 0;
        }
        for (int y = 0; y < mask.height; ++y) {
            BYTE* line = FreeImage_GetScanLine(bitmap, mask.height - 1 - y);
            for (int x = 0; x < mask.width; ++x) {
                line[x] = toByte(mask.at(x, y), 0.0f);
            }
        }
    }
    return save(bitmap, FIF_JPEG, file, jpegFlags(coding));
}
