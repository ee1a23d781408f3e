#include "pictures/Font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

struct FontLibrary {
    FT_Library handle = nullptr;
};

namespace {

std::vector<char32_t> decodeUtf8(const std::string& text)
{
    std::vector<char32_t> codes;
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        int extra = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : 0;
        char32_t code = extra == 0 ? byte : byte & (0x3F >> extra);
        for (int k = 1; k <= extra && i + k < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        }
        codes.push_back(code);
        i += static_cast<std::size_t>(extra) + 1;
    }
    return codes;
}

float fromFixed(FT_Pos value)
{
    return static_cast<float>(value) / 64.0f;
}

} // namespace

std::filesystem::path fontFile(const char* name)
{
    return std::filesystem::path("/usr/share/fonts/truetype/dejavu") / name;
}

void drawCentred(Mask& mask, const Font& font, const std::string& text, float centreX, float baseline,
                 const Font::Style& style)
{
    font.draw(mask, text, centreX - font.measure(text, style) * 0.5f, baseline, style);
}

Font::Font(const std::filesystem::path& file) : library(new FontLibrary)
{
    if (FT_Init_FreeType(&library->handle) != 0) {
        std::fprintf(stderr, "Could not start FreeType\n");
        return;
    }
    FT_Face loaded = nullptr;
    if (FT_New_Face(library->handle, file.string().c_str(), 0, &loaded) != 0) {
        std::fprintf(stderr, "Could not read font '%s' (install fonts-dejavu-core)\n", file.string().c_str());
        return;
    }
    face = loaded;
}

Font::~Font()
{
    if (face) {
        FT_Done_Face(face);
    }
    if (library->handle) {
        FT_Done_FreeType(library->handle);
    }
    delete library;
}

void Font::setSize(const Style& style) const
{
    auto width = static_cast<FT_F26Dot6>(std::lround(style.em * style.stretch * 64.0f));
    auto height = static_cast<FT_F26Dot6>(std::lround(style.em * 64.0f));
    FT_Set_Char_Size(face, width, height, 72, 72);
}

float Font::measure(const std::string& text, const Style& style) const
{
    if (!face) {
        return 0.0f;
    }
    setSize(style);
    FT_Set_Transform(face, nullptr, nullptr);
    float pen = 0.0f;
    FT_UInt previous = 0;
    std::vector<char32_t> codes = decodeUtf8(text);
    for (std::size_t i = 0; i < codes.size(); ++i) {
        FT_UInt glyph = FT_Get_Char_Index(face, codes[i]);
        if (previous != 0) {
            FT_Vector kern{};
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern);
            pen += fromFixed(kern.x);
        }
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING) == 0) {
            pen += fromFixed(face->glyph->advance.x);
        }
        if (i + 1 < codes.size()) {
            pen += style.tracking * style.em * style.stretch;
        }
        previous = glyph;
    }
    return pen;
}

float Font::capHeight(const Style& style) const
{
    if (!face) {
        return 0.0f;
    }
    setSize(style);
    FT_Set_Transform(face, nullptr, nullptr);
    FT_Load_Char(face, U'H', FT_LOAD_NO_HINTING);
    return fromFixed(face->glyph->metrics.horiBearingY);
}

float Font::descent(const Style& style) const
{
    if (!face) {
        return 0.0f;
    }
    setSize(style);
    FT_Set_Transform(face, nullptr, nullptr);
    FT_Load_Char(face, U'g', FT_LOAD_NO_HINTING);
    return fromFixed(face->glyph->metrics.height - face->glyph->metrics.horiBearingY);
}

void Font::draw(Mask& mask, const std::string& text, float x, float baseline, const Style& style) const
{
    if (!face) {
        return;
    }
    setSize(style);
    float pen = x;
    FT_UInt previous = 0;
    for (char32_t code : decodeUtf8(text)) {
        FT_UInt glyph = FT_Get_Char_Index(face, code);
        if (previous != 0) {
            FT_Vector kern{};
            FT_Get_Kerning(face, previous, glyph, FT_KERNING_UNFITTED, &kern);
            pen += fromFixed(kern.x);
        }
        previous = glyph;
        // The fraction of the pen position goes into the outline, so
        // letters keep their exact spacing instead of snapping to pixels.
        float whole = std::floor(pen);
        FT_Vector shift{static_cast<FT_Pos>(std::lround((pen - whole) * 64.0f)), 0};
        FT_Set_Transform(face, nullptr, &shift);
        if (FT_Load_Glyph(face, glyph, FT_LOAD_NO_HINTING | FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        int left = static_cast<int>(whole) + slot->bitmap_left;
        int top = static_cast<int>(std::lround(baseline)) - slot->bitmap_top;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            for (unsigned column = 0; column < bitmap.width; ++column) {
                int px = left + static_cast<int>(column);
                int py = top + static_cast<int>(row);
                if (px < 0 || py < 0 || px >= mask.width || py >= mask.height) {
                    continue;
                }
                float coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + column] / 255.0f;
                float& value = mask.at(px, py);
                value = std::min(1.0f, value + coverage);
            }
        }
        pen += fromFixed(slot->advance.x) + style.tracking * style.em * style.stretch;
    }
    FT_Set_Transform(face, nullptr, nullptr);
}
