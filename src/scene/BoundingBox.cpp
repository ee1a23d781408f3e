#include "scene/BoundingBox.h"

BoundingBox::BoundingBox(const glm::vec3& upper, const glm::vec3& lower)
    : upper(upper), lower(lower)
{
}

void BoundingBox::updateFootprint(const glm::mat4& modelMatrix)
{
    footprint[0] = modelMatrix * glm::vec4(upper.x, 0.0f, upper.z, 1.0f);
    footprint[1] = modelMatrix * glm::vec4(lower.x, 0.0f, upper.z, 1.0f);
    footprint[2] = modelMatrix * glm::vec4(lower.x, 0.0f, lower.z, 1.0f);
    footprint[3] = modelMatrix * glm::vec4(upper.x, 0.0f, lower.z, 1.0f);
}

void updateFootprint(BoundingBox& box, const glm::mat4& modelMatrix)
{
    box.updateFootprint(modelMatrix);
}
