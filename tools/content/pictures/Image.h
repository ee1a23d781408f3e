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

    Image(int w, int h, const glm::vec4& fill);

    glm::vec4& at(int x, int y) { return pixels[static_cast<std::size_t>(y) * width + x]; }
    const glm::vec4& at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }

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
    // Wraps around both edges: relief maps repeat.
    float wrapped(int x, int y) const;
};

// How 0..1 values become bytes. Dithering breaks the bands that smooth
// gradients show in 8 bits; it uses a fixed pattern, so output stays the same.
enum class Quantize { plain, dithered };

bool writePngRgb(const Image& image, const std::filesystem::path& file, Quantize quantize = Quantize::plain);
bool writePngRgba(const Image& image, const std::filesystem::path& file, Quantize quantize = Quantize::plain);
bool writeJpegRgb(const Image& image, const std::filesystem::path& file);
// 8-bit grey with a black-to-white palette, so it loads as FIC_MINISBLACK.
bool writeJpegGrey(const Mask& mask, const std::filesystem::path& file);
