#include "assets/QuadArray.h"

#include <utility>

namespace {

GLuint makeStream(std::span<const float> values, GLint location)
{
    GLuint buffer = 0;
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
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
    glGenVertexArrays(1, &vertexArray);
    glBindVertexArray(vertexArray);
    positionBuffer = makeStream(positions, positionLocation);
    texCoordBuffer = makeStream(texCoords, texCoordLocation);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

QuadArray::~QuadArray()
{
    release();
}

QuadArray::QuadArray(QuadArray&& other) noexcept
    : vertexArray(std::exchange(other.vertexArray, 0)),
      positionBuffer(std::exchange(other.positionBuffer, 0)),
      texCoordBuffer(std::exchange(other.texCoordBuffer, 0))
{
}

QuadArray& QuadArray::operator=(QuadArray&& other) noexcept
{
    if (this != &other) {
        release();
        vertexArray = std::exchange(other.vertexArray, 0);
        positionBuffer = std::exchange(other.positionBuffer, 0);
        texCoordBuffer = std::exchange(other.texCoordBuffer, 0);
    }
    return *this;
}

void QuadArray::release()
{
    if (vertexArray != 0) {
        glDeleteVertexArrays(1, &vertexArray);
        vertexArray = 0;
    }
    if (positionBuffer != 0) {
        glDeleteBuffers(1, &positionBuffer);
        positionBuffer = 0;
    }
    if (texCoordBuffer != 0) {
        glDeleteBuffers(1, &texCoordBuffer);
        texCoordBuffer = 0;
    }
}
