#pragma once

#include <FreeImage.h>

#include <string>

// Writes short white captions with a dark outline onto the finished sheet,
// with the system's DejaVu font. Without the font the sheet has no captions.
class Captions {
public:
    explicit Captions(int pixelSize);
    ~Captions();
    Captions(const Captions&) = delete;
    Captions& operator=(const Captions&) = delete;

    bool ready() const { return face != nullptr; }

    // `left` and `top` are image pixels, y counted down from the top.
    void write(FIBITMAP* image, const std::string& text, int left, int top) const;

private:
    // Adds one line of text, its top at `top`, in a grey level, offset by (dx, dy).
    void drawText(FIBITMAP* image, const std::string& text, int left, int top, int dx, int dy, BYTE level) const;

    struct FT_LibraryRec_* library = nullptr;
    struct FT_FaceRec_* face = nullptr;
    int pixelSize;
};
