#pragma once

#include "gl/GLObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>
#include <span>

class Camera;
class Shader;

// The GL side shared by Smoke and Explosion: both keep world-space positions
// and colours in flat arrays and draw them as point sprites with the
// "particle" program, one call per effect.

// Re-sends positions and colours (the same count of each) into the two
// buffers, GL_DYNAMIC_DRAW since they change every frame, and points the
// program's "in_position" and "in_color" at them inside vertexArray. Leaves
// no buffer or vertex array bound.
void uploadParticles(const GLVertexArray& vertexArray, const std::array<GLBuffer, 2>& buffers, Shader& shader,
                     std::span<const glm::vec3> positions, std::span<const glm::vec4> colors);

// One GL_POINTS draw of count particles with texture on unit 0, through the
// camera's projection × view (the particles are already in world space).
// shininess is the program's point-size factor. Leaves no program, vertex
// array or texture bound.
void drawParticles(Shader& shader, const GLVertexArray& vertexArray, GLuint texture, float shininess,
                   const Camera& camera, int count);
