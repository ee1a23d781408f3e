#pragma once

#include "common/Image.h"

#include <filesystem>
#include <string>

// One outline font from the system's font folder, set through FreeType.
// Glyphs are placed at fractional pen positions and rendered without
// hinting, so text scales evenly and looks the same at every size.
class Font {
public:
    explicit Font(const std::filesystem::path& file);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    bool valid() const { return face != nullptr; }

    // How a line is set: em size in pixels, horizontal stretch (1 = the
    // font's own proportions) and extra space between letters in ems.
    struct Style {
        float em = 32.0f;
        float stretch = 1.0f;
        float tracking = 0.0f;
    };

    // Width of a line of UTF-8 text in pixels.
    float measure(const std::string& text, const Style& style) const;
    // Height above and depth below the baseline of capital letters and descenders, in pixels.
    float capHeight(const Style& style) const;
    float descent(const Style& style) const;

    // Adds the coverage of a line to `mask`, the baseline starting at (x, baseline).
    void draw(Mask& mask, const std::string& text, float x, float baseline, const Style& style) const;

private:
    void setSize(const Style& style) const;

    struct FontLibrary* library = nullptr;
    struct FT_FaceRec_* face = nullptr;
};

// A line centred on `centreX`, for titles and credits.
void drawCentred(Mask& mask, const Font& font, const std::string& text, float centreX, float baseline,
                 const Font::Style& style);

// The DejaVu fonts of the fonts-dejavu-core package.
std::filesystem::path fontFile(const char* name);
