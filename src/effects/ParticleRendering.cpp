#include "effects/ParticleRendering.h"

#include "gl/Shader.h"
#include "scene/Camera.h"

#include <glm/gtc/type_ptr.hpp>

namespace {

static_assert(sizeof(glm::vec3) == 3 * sizeof(float), "positions are uploaded as packed float triples");
static_assert(sizeof(glm::vec4) == 4 * sizeof(float), "colours are uploaded as packed float quadruples");

void fillAttribute(GLuint buffer, GLint location, GLint components, const void* data, GLsizeiptr bytes)
{
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, bytes, data, GL_DYNAMIC_DRAW);
    // A program that lost the input (or failed to build) reports -1; pointing
    // attribute -1 would only raise a GL error.
    if (location >= 0) {
        glEnableVertexAttribArray(static_cast<GLuint>(location));
        glVertexAttribPointer(static_cast<GLuint>(location), components, GL_FLOAT, GL_FALSE, 0, nullptr);
    }
}

} // namespace

void uploadParticles(const GLVertexArray& vertexArray, const std::array<GLBuffer, 2>& buffers, Shader& shader,
                     std::span<const glm::vec3> positions, std::span<const glm::vec4> colors)
{
    glBindVertexArray(vertexArray.id());
    fillAttribute(buffers[0].id(), shader.location(ShaderLocation::in_position), 3, positions.data(),
                  static_cast<GLsizeiptr>(positions.size_bytes()));
    fillAttribute(buffers[1].id(), shader.location(ShaderLocation::in_color), 4, colors.data(),
                  static_cast<GLsizeiptr>(colors.size_bytes()));
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindVertexArray(0);
}

void drawParticles(Shader& shader, const GLVertexArray& vertexArray, GLuint texture, float shininess,
                   const Camera& camera, int count)
{
    glUseProgram(shader.program());
    glBindVertexArray(vertexArray.id());
    glBindTexture(GL_TEXTURE_2D, texture);

    glUniform1i(shader.location(ShaderLocation::colorMap), 0);
    glUniform1f(shader.location(ShaderLocation::shininess), shininess);
    const glm::mat4 viewProjection = *camera.projectionMatrix * *camera.inverseModelMatrix;
    glUniformMatrix4fv(shader.location(ShaderLocation::mvpMatrix), 1, GL_FALSE, glm::value_ptr(viewProjection));
    const glm::vec4 eye = *camera.modelMatrix * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
    glUniform4fv(shader.location(ShaderLocation::cameraPos), 1, glm::value_ptr(eye));

    // Dead particles are drawn too: their alpha is at or below 0, and the
    // program moves them out of view, so one call never needs a compaction.
    glDrawArrays(GL_POINTS, 0, count);

    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glUseProgram(0);
}
