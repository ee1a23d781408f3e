#include "FrameReader.h"

#include <cstring>

FrameReader::FrameReader(int width, int height)
    : width(width),
      height(height)
{
    for (GLBuffer& buffer : buffers) {
        buffer = GLBuffer::create();
        glBindBuffer(GL_PIXEL_PACK_BUFFER, buffer.id());
        glBufferData(GL_PIXEL_PACK_BUFFER, static_cast<GLsizeiptr>(frameBytes()), nullptr, GL_STREAM_READ);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}

std::size_t FrameReader::frameBytes() const
{
    return static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
}

bool FrameReader::push(std::vector<std::uint8_t>& oldest)
{
    bool handedOut = false;
    if (pending == ringSize) {
        read(next, oldest);
        --pending;
        handedOut = true;
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[next].id());
    // The frame pipeline has already swapped: Mesa keeps the back buffer's
    // contents through the swap, so the frame just shown is still there.
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, nullptr);
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
    next = (next + 1) % ringSize;
    ++pending;
    return handedOut;
}

bool FrameReader::pop(std::vector<std::uint8_t>& oldest)
{
    if (pending == 0) {
        return false;
    }
    read((next - pending + ringSize) % ringSize, oldest);
    --pending;
    return true;
}

void FrameReader::read(int slot, std::vector<std::uint8_t>& pixels)
{
    pixels.resize(frameBytes());
    glBindBuffer(GL_PIXEL_PACK_BUFFER, buffers[slot].id());
    const void* mapped = glMapBufferRange(GL_PIXEL_PACK_BUFFER, 0, static_cast<GLsizeiptr>(frameBytes()), GL_MAP_READ_BIT);
    if (mapped) {
        std::memcpy(pixels.data(), mapped, frameBytes());
        glUnmapBuffer(GL_PIXEL_PACK_BUFFER);
    }
    glBindBuffer(GL_PIXEL_PACK_BUFFER, 0);
}
