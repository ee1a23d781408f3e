#pragma once

#include "gl/GLObject.h"

#include <epoxy/gl.h>

#include <span>

// A vertex array with its two buffers: 2D positions and 2D texture
// coordinates, each tightly packed in a buffer of its own. A default-made or
// moved-from array owns nothing.
class QuadArray {
public:
    QuadArray() = default;
    // Uploads both attribute streams once (GL_STATIC_DRAW) and enables them
    // at the given locations; a location of -1 (a name the program does not
    // use) leaves that stream disabled.
    QuadArray(std::span<const float> positions, std::span<const float> texCoords, GLint positionLocation,
              GLint texCoordLocation);

    void bind() const { glBindVertexArray(vertexArray.id()); }

    GLuint getVertexArray() const { return vertexArray.id(); }
    GLuint getPositionBuffer() const { return positionBuffer.id(); }
    GLuint getTexCoordBuffer() const { return texCoordBuffer.id(); }

private:
    GLVertexArray vertexArray;
    GLBuffer positionBuffer;
    GLBuffer texCoordBuffer;
};
