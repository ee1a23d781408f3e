#include "Captions.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstdio>

namespace {
constexpr const char* fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf";
} // namespace

Captions::Captions(int pixelSize)
    : pixelSize(pixelSize)
{
    if (FT_Init_FreeType(&library) != 0) {
        library = nullptr;
        return;
    }
    if (FT_New_Face(library, fontFile, 0, &face) != 0) {
        std::fprintf(stderr, "brimbolt_contactsheet: no captions, cannot read '%s' (install fonts-dejavu-core)\n",
                     fontFile);
        face = nullptr;
        return;
    }
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize));
}

Captions::~Captions()
{
    if (face != nullptr) {
        FT_Done_Face(face);
    }
    if (library != nullptr) {
        FT_Done_FreeType(library);
    }
}

void Captions::write(FIBITMAP* image, const std::string& text, int left, int top) const
{
    if (!ready()) {
        return;
    }
    // An outline of dark copies all round keeps the text legible on any background.
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            drawText(image, text, left, top, dx, dy, 0);
        }
    }
    drawText(image, text, left, top, 0, 0, 255);
}

void Captions::drawText(FIBITMAP* image, const std::string& text, int left, int top, int dx, int dy,
                        BYTE level) const
{
    const int width = static_cast<int>(FreeImage_GetWidth(image));
    const int height = static_cast<int>(FreeImage_GetHeight(image));
    const int baseline = top + pixelSize + dy;
    int pen = left + dx;
    for (unsigned char character : text) {
        if (FT_Load_Char(face, character, FT_LOAD_RENDER) != 0) {
            continue;
        }
        const FT_GlyphSlot glyph = face->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned row = 0; row < bitmap.rows; ++row) {
            const int y = baseline - glyph->bitmap_top + static_cast<int>(row);
            for (unsigned column = 0; column < bitmap.width; ++column) {
                const int x = pen + glyph->bitmap_left + static_cast<int>(column);
                if (x < 0 || y < 0 || x >= width || y >= height) {
                    continue;
                }
                const int coverage = bitmap.buffer[row * static_cast<unsigned>(bitmap.pitch) + column];
                // FreeImage keeps the bottom row first.
                BYTE* pixel = FreeImage_GetScanLine(image, height - 1 - y) + x * 3;
                for (int channel = 0; channel < 3; ++channel) {
                    pixel[channel] = static_cast<BYTE>((pixel[channel] * (255 - coverage) + level * coverage) / 255);
                }
            }
        }
        pen += static_cast<int>(glyph->advance.x >> 6);
    }
}
