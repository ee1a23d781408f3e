#include "StudioView.h"

#include "gl/Shader.h"
#include "scene/Camera.h"

#include <epoxy/gl.h>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr float fieldOfView = 30.0f; // degrees; narrow, so shapes are not distorted

// The cars' noses and the pig's snout point along -z, so "front" looks from there.
glm::vec3 lookingFrom(ViewSide side)
{
    switch (side) {
    case ViewSide::Front:
        return {0.0f, 0.15f, -1.0f};
    case ViewSide::Side:
        return {1.0f, 0.15f, 0.0f};
    case ViewSide::ThreeQuarterTop:
        return {-1.0f, 1.2f, -1.0f};
    }
    return {0.0f, 0.0f, -1.0f};
}

void setUniform(GLuint program, const char* name, const glm::mat3& value)
{
    glUniformMatrix3fv(glGetUniformLocation(program, name), 1, GL_FALSE, glm::value_ptr(value));
}

void setUniform(GLuint program, const char* name, const std::array<float, 3>& value)
{
    glUniform1fv(glGetUniformLocation(program, name), 3, value.data());
}

} // namespace

void frameBox(Camera& camera, const glm::vec3& lower, const glm::vec3& upper, ViewSide side)
{
    const glm::vec3 centre = 0.5f * (lower + upper);
    const float radius = std::max(0.5f * glm::length(upper - lower), 0.01f);
    // The distance at which the bounding sphere just fills the view.
    const float distance = radius / std::sin(glm::radians(fieldOfView * 0.5f));
    const glm::vec3 eye = centre + glm::normalize(lookingFrom(side)) * distance;

    const glm::mat4 view = glm::lookAt(eye, centre, glm::vec3(0.0f, 1.0f, 0.0f));
    camera.setTransform(glm::inverse(view), view);
    const float nearPlane = std::max(distance - 1.5f * radius, 0.01f * distance);
    *camera.projectionMatrix = glm::perspective(glm::radians(fieldOfView), 1.0f, nearPlane, distance + 1.5f * radius);
}

void setStudioLights(Shader& program, const glm::vec3& lower, const glm::vec3& upper)
{
    const GLuint id = program.program();
    const glm::vec3 centre = 0.5f * (lower + upper);
    const float reach = 4.0f * std::max(glm::length(upper - lower), 0.01f);
    // Columns are lights: a warm key from the upper front left, a cool fill
    // from the right, and a back light that separates the outline.
    setUniform(id, "lightPosition",
               glm::mat3(centre + reach * glm::normalize(glm::vec3(-1.0f, 1.6f, -1.2f)),
                         centre + reach * glm::normalize(glm::vec3(1.5f, 0.4f, -0.4f)),
                         centre + reach * glm::normalize(glm::vec3(0.4f, 1.2f, 1.5f))));
    setUniform(id, "lightColor",
               glm::mat3(glm::vec3(1.0f, 0.97f, 0.9f), glm::vec3(0.4f, 0.45f, 0.5f), glm::vec3(0.35f)));
    // No fall-off with distance, and no cone: a cutoff of -1 with exponent 0.
    setUniform(id, "attenuation", glm::mat3(glm::vec3(1.0f, 0.0f, 0.0f), glm::vec3(1.0f, 0.0f, 0.0f),
                                            glm::vec3(1.0f, 0.0f, 0.0f)));
    setUniform(id, "spotDirection", glm::mat3(glm::vec3(0.0f, -1.0f, 0.0f), glm::vec3(0.0f, -1.0f, 0.0f),
                                              glm::vec3(0.0f, -1.0f, 0.0f)));
    setUniform(id, "spotCosCutoff", std::array<float, 3>{-1.0f, -1.0f, -1.0f});
    setUniform(id, "spotExponent", std::array<float, 3>{0.0f, 0.0f, 0.0f});
    glUniform1i(glGetUniformLocation(id, "isReflective"), 0);
    // Each sampler on its own unit, as the frame sets them: a cube and a 2D
    // sampler left on one unit make every draw invalid.
    glUniform1i(glGetUniformLocation(id, "colorMap"), 0);
    glUniform1i(glGetUniformLocation(id, "varianceShadowMap1"), 1);
    glUniform1i(glGetUniformLocation(id, "varianceShadowMap2"), 2);
    glUniform1i(glGetUniformLocation(id, "varianceShadowMap3"), 3);
    glUniform1i(glGetUniformLocation(id, "environmentMap"), 4);
}
