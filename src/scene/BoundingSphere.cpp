#include "scene/BoundingSphere.h"

BoundingSphere::BoundingSphere(const glm::vec3& centre, float radius)
    : modelCentre(centre, 1.0f), worldCentre(centre), radius(radius)
{
}

void BoundingSphere::update(const glm::mat4& modelMatrix)
{
    worldCentre = glm::vec3(modelMatrix * modelCentre);
}
