#include "effects/QuadArray.h"

namespace {

GLBuffer makeStream(std::span<const float> values, GLint location)
{
    GLBuffer buffer = GLBuffer::create();
    glBindBuffer(GL_ARRAY_BUFFER, buffer.id());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(values.size_bytes()), values.data(), GL_STATIC_DRAW);
    if (location >= 0) {
        const GLuint index = static_cast<GLuint>(location);
        glVertexAttribPointer(index, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        glEnableVertexAttribArray(index);
    }
    return buffer;
}

} // namespace

QuadArray::QuadArray(std::span<const float> positions, std::span<const float> texCoords, GLint positionLocation,
                     GLint texCoordLocation)
{
    vertexArray = GLVertexArray::create();
    glBindVertexArray(vertexArray.id());
    positionBuffer = makeStream(positions, positionLocation);
    texCoordBuffer = makeStream(texCoords, texCoordLocation);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}
