#include "vehicles/EnergyStone.h"

#include "assets/Mesh.h"
#include "render/Geometry.h"

#include <cstddef>

void EnergyStone::setGeometry(Geometry* model)
{
    geometry = model;
    // A model whose file could not be read has no sub-mesh; its first draw
    // reports that, so the stone keeps empty records until then.
    const bool hasEntry = model && !model->mesh->entries.empty();
    boundingSphere = hasEntry ? model->mesh->entries.front().sphere : BoundingSphere();
    boundingBox = hasEntry ? model->mesh->entries.front().box : BoundingBox();
    updateWorldRecords();
}

void EnergyStone::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    SceneObject::applyTransform(transform, inverseTransform);
    updateWorldRecords();
    updateLightSpaceMatrices();
}

void EnergyStone::drawShadow(const ShadowCaster& light, GLint mvpLocation)
{
    geometry->drawShadow(light, *modelMatrix, boundingSphere, mvpLocation);
}

void EnergyStone::drawToCubeMap(Shader& program, const glm::vec3& cubeCentre)
{
    geometry->drawToCubeMap(program, cubeCentre, *modelMatrix, normalMatrix(), lightSpaceMatrices);
}

void EnergyStone::draw(const Camera& camera)
{
    geometry->drawWithTransform(camera, *modelMatrix, normalMatrix(), boundingSphere, lightSpaceMatrices);
}

void EnergyStone::drawVelocity(const Camera& camera, Shader& program)
{
    // A stone's previous placement is not kept: only the camera's movement blurs it.
    geometry->drawVelocityWithTransform(camera, program, *modelMatrix, *modelMatrix, boundingSphere);
}

void EnergyStone::setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3)
{
    lightMatrices = {light1, light2, light3};
    updateLightSpaceMatrices();
}

glm::mat3 EnergyStone::normalMatrix() const
{
    return glm::mat3(glm::transpose(*inverseModelMatrix));
}

void EnergyStone::updateWorldRecords()
{
    boundingBox.updateFootprint(*modelMatrix);
    boundingSphere.update(*modelMatrix);
}

void EnergyStone::updateLightSpaceMatrices()
{
    for (std::size_t light = 0; light < lightMatrices.size(); ++light) {
        lightSpaceMatrices[light] = lightMatrices[light] * *modelMatrix;
    }
}
