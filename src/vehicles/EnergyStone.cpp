#include "vehicles/EnergyStone.h"

#include "assets/Mesh.h"
#include "render/Geometry.h"


void EnergyStone::setGeometry(Geometry* model)
{
    geometry = model;
    // A model whose file could not be read has no sub-mesh; its first draw
    // reports that, so the stone keeps empty records until then.
    const bool hasEntry = model && !model->mesh->entries.empty();
    boundingSphere = hasEntry ? model->mesh->entries.front().sphere : BoundingSphere();
    boundingBox = hasEntry ? model->mesh->entries.front().box : BoundingBox();
    updatePlacement();
}

void EnergyStone::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    SceneObject::applyTransform(transform, inverseTransform);
    updatePlacement();
}

void EnergyStone::drawShadow(const ShadowPass& pass)
{
    geometry->drawShadow(pass, at);
}

void EnergyStone::drawToCubeMap(const CubeMapPass& pass)
{
    geometry->drawToCubeMap(pass, at);
}

void EnergyStone::draw(const LitPass& pass)
{
    geometry->draw(pass, at);
}

void EnergyStone::drawVelocity(const VelocityPass& pass)
{
    geometry->drawVelocity(pass, at);
}

void EnergyStone::setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3)
{
    lightMatrices = {light1, light2, light3};
    at.setLightMatrices(lightMatrices);
}

void EnergyStone::updatePlacement()
{
    boundingBox.updateFootprint(*modelMatrix);
    boundingSphere.update(*modelMatrix);
    at.model = *modelMatrix;
    at.normalMatrix = glm::mat3(glm::transpose(*inverseModelMatrix));
    at.cullingSphere = boundingSphere;
    at.setLightMatrices(lightMatrices);
}
