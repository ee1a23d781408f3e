#include "scene/SceneObject.h"

#include "settings/Settings.h"

#include <glm/gtc/matrix_transform.hpp>

namespace {

const glm::mat4 identity(1.0f);
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);
const glm::vec3 zAxis(0.0f, 0.0f, 1.0f);

glm::mat4 rotation(float degrees, const glm::vec3& axis)
{
    return glm::rotate(identity, glm::radians(degrees), axis);
}

float frameTime()
{
    return static_cast<float>(deltaTime);
}

} // namespace

SceneObject::SceneObject()
    : previousModelMatrix(new glm::mat4(1.0f)),
      modelMatrix(new glm::mat4(1.0f)),
      inverseModelMatrix(new glm::mat4(1.0f)),
      previousInverseModelMatrix(new glm::mat4(1.0f))
{
}

SceneObject::~SceneObject()
{
    delete modelMatrix;
    delete inverseModelMatrix;
    delete previousInverseModelMatrix;
    delete previousModelMatrix;
}

void SceneObject::translateOverTime(float x, float y, float z)
{
    const float d = frameTime();
    translate(x * d, y * d, z * d);
}

// The scaled angle is computed once so the matrix and its inverse use exactly
// the same amount.
void SceneObject::rotateXOverTime(float degrees)
{
    rotateX(degrees * frameTime());
}

void SceneObject::rotateYOverTime(float degrees)
{
    rotateY(degrees * frameTime());
}

void SceneObject::rotateZOverTime(float degrees)
{
    rotateZ(degrees * frameTime());
}

void SceneObject::translate(float x, float y, float z)
{
    applyTransform(glm::translate(identity, glm::vec3(x, y, z)),
                   glm::translate(identity, glm::vec3(-x, -y, -z)));
}

void SceneObject::rotateX(float degrees)
{
    applyTransform(rotation(degrees, xAxis), rotation(-degrees, xAxis));
}

void SceneObject::rotateY(float degrees)
{
    applyTransform(rotation(degrees, yAxis), rotation(-degrees, yAxis));
}

void SceneObject::rotateZ(float degrees)
{
    applyTransform(rotation(degrees, zAxis), rotation(-degrees, zAxis));
}

// The one general inversion: scaling happens at load time only.
void SceneObject::scale(float x, float y, float z)
{
    const glm::mat4 transform = glm::scale(identity, glm::vec3(x, y, z));
    applyTransform(transform, glm::inverse(transform));
}

void SceneObject::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    *modelMatrix = *modelMatrix * transform;
    *inverseModelMatrix = inverseTransform * *inverseModelMatrix;
}

void SceneObject::resetTransform()
{
    *modelMatrix = identity;
    *inverseModelMatrix = identity;
    *previousModelMatrix = identity;
    *previousInverseModelMatrix = identity;
}

void SceneObject::storePreviousTransform()
{
    *previousModelMatrix = *modelMatrix;
    *previousInverseModelMatrix = *inverseModelMatrix;
}
