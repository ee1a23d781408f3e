#pragma once

#include <glm/glm.hpp>

#include <filesystem>
#include <vector>

// A picture being authored: rows top-down as it is seen, colours as ordinary
// sRGB values in 0..1 with straight (not premultiplied) alpha. The writers
// turn it into the bottom-up rows that FreeImage keeps and the program
// uploads unchanged, so what is drawn here at the top ends up at v = 1.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<glm::vec4> pixels;

    Image(int w, int h, const glm::vec4& fill = glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));

    glm::vec4& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
    // Rows counted from the bottom, as v runs: for pictures worked out in
    // texture coordinates rather than drawn.
    glm::vec4& fromBottom(int x, int row) { return at(x, height - 1 - row); }

    // Straight-alpha "over" of one colour with the given coverage.
    void blendOver(int x, int y, const glm::vec3& colour, float alpha);
};

// One float per pixel, rows top-down: text coverage, height fields, masks.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> values;

    Mask(int w, int h, float fill = 0.0f);

    float& at(int x, int y) { return values[static_cast<std::size_t>(y) * width + x]; }
    float at(int x, int y) const { return values[static_cast<std::size_t>(y) * width + x]; }
    float& fromBottom(int x, int row) { return at(x, height - 1 - row); }
    // Wraps around both edges: relief maps repeat.
    float wrapped(int x, int y) const;
};

// How 0..1 values become bytes. Dithering breaks the bands that smooth
// gradients show in 8 bits; it uses a fixed pattern, so output stays the same.
enum class Quantize { plain, dithered };

// How a JPEG is coded; chroma is never subsampled. Each file keeps the
// settings it was tuned with, since other settings give other bytes.
struct JpegCoding {
    int quality = 100;
    // Baseline without metadata markers, or else Huffman tables optimised
    // for the picture.
    bool baseline = false;
};
// Relief maps are read as data, so they get the best quality: subsampled
// chroma or coarse steps would bend the normals.
inline constexpr JpegCoding reliefJpeg{};
// Colour pictures of surfaces, where a little loss does not show.
inline constexpr JpegCoding surfaceJpeg{.quality = 92, .baseline = true};

// Each writes one file; false, with a message, when it cannot be written.
bool writePngRgb(const Image& image, const std::filesystem::path& file, Quantize quantize = Quantize::plain);
bool writePngRgba(const Image& image, const std::filesystem::path& file, Quantize quantize = Quantize::plain);
bool writeJpegRgb(const Image& image, const std::filesystem::path& file, const JpegCoding& coding = reliefJpeg);
// 8-bit grey with a black-to-white palette, so it loads as FIC_MINISBLACK.
bool writeJpegGrey(const Mask& mask, const std::filesystem::path& file, const JpegCoding& coding = reliefJpeg);
