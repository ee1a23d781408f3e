#pragma once

#include <epoxy/gl.h>

#include <span>

// A vertex array with its two buffers: 2D positions and 2D texture
// coordinates, each tightly packed in a buffer of its own. It is the one
// place where these three GL objects are made and deleted; a default-made
// or moved-from array owns nothing.
class QuadArray {
public:
    QuadArray() = default;
    // Uploads both attribute streams once (GL_STATIC_DRAW) and enables them
    // at the given locations; a location of -1 (a name the program does not
    // use) leaves that stream disabled.
    QuadArray(std::span<const float> positions, std::span<const float> texCoords, GLint positionLocation,
              GLint texCoordLocation);
    // Deletes the vertex array, then both buffers; the context must be current.
    ~QuadArray();

    QuadArray(const QuadArray&) = delete;
    QuadArray& operator=(const QuadArray&) = delete;
    QuadArray(QuadArray&& other) noexcept;
    QuadArray& operator=(QuadArray&& other) noexcept;

    void bind() const { glBindVertexArray(vertexArray); }

    GLuint getVertexArray() const { return vertexArray; }
    GLuint getPositionBuffer() const { return positionBuffer; }
    GLuint getTexCoordBuffer() const { return texCoordBuffer; }

private:
    void release();

    GLuint vertexArray = 0;
    GLuint positionBuffer = 0;
    GLuint texCoordBuffer = 0;
};
