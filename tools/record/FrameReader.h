#pragma once

#include "gl/GLObject.h"

#include <cstdint>
#include <vector>

// Reads finished frames back from the window without waiting for them: each
// frame is copied into the next pixel buffer of a small ring, and a frame is
// handed out only when the ring comes round to it, by which time the GPU has
// long finished it.
class FrameReader {
public:
    FrameReader(int width, int height);

    // Starts copying the frame just drawn. When the ring is full, the oldest
    // frame's RGB rows (bottom row first) are put into `oldest` and true is
    // returned.
    bool push(std::vector<std::uint8_t>& oldest);
    // Hands out the frames still in the ring, oldest first; false when empty.
    bool pop(std::vector<std::uint8_t>& oldest);

    std::size_t frameBytes() const;

private:
    static constexpr int ringSize = 3;
    void read(int slot, std::vector<std::uint8_t>& pixels);

    int width;
    int height;
    GLBuffer buffers[ringSize];
    int next = 0;   // slot the next frame goes to
    int pending = 0; // frames in the ring
};
