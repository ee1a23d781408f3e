#include "vehicles/Wheel.h"

#include "assets/Mesh.h"
#include "render/Geometry.h"
#include "settings/Settings.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cstddef>

namespace {

const glm::mat4 identity(1.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);
// Rolling forward turns the top of the tyre towards the car's front (-Z),
// which is a rotation about -X.
const glm::vec3 rollAxis(-1.0f, 0.0f, 0.0f);
// Degrees of roll per unit travelled, set by eye: the tread visibly turns
// when the car pulls away and does not strobe at top speed.
constexpr float rollDegreesPerUnit = 50.0f;

glm::mat4 rotation(float degrees, const glm::vec3& axis)
{
    return glm::rotate(identity, glm::radians(degrees), axis);
}

bool isFrontWheel(std::size_t wheel)
{
    return wheel < 2;
}

} // namespace

Wheel::Wheel()
    : tyre(new Geometry())
{
    wheelTranslation.fill(identity);
    lightMatrices.fill(identity);
}

Wheel::~Wheel()
{
    delete tyre;
}

void Wheel::roll(float speed)
{
    // The angle is computed once so that spin and its inverse stay exact inverses.
    const float angle = speed * rollDegreesPerUnit * static_cast<float>(deltaTime);
    spin = spin * rotation(angle, rollAxis);
    spinInverse = rotation(-angle, rollAxis) * spinInverse;
}

void Wheel::place(const glm::mat4& carModel, const glm::mat4& carInverse)
{
    const glm::mat4 steering = rotation(steeringAngle, yAxis);
    const glm::mat4 steeringInverse = rotation(-steeringAngle, yAxis);
    for (std::size_t wheel = 0; wheel < count; ++wheel) {
        const bool front = isFrontWheel(wheel);
        Placement& at = wheelPlacements[wheel];
        at.model = carModel * wheelTranslation[wheel] * (front ? steering : identity) * spin;
        // The inverse without the wheel's translation: translations do not
        // reach the upper-left 3x3, and the rotations' inverses are known,
        // so no general inversion is needed every step.
        const glm::mat4 rotationInverse = spinInverse * (front ? steeringInverse : identity) * carInverse;
        at.normalMatrix = glm::mat3(glm::transpose(rotationInverse));
        // Culling tests the tyre's sphere standing at the wheel's centre.
        at.cullingSphere = tyre->mesh->boundingSphere;
        at.cullingSphere.worldCentre = glm::vec3(at.model * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
        at.setLightMatrices(lightMatrices);
    }
}

// One tyre, four placements: every pass draws it at each wheel.
void Wheel::drawShadow(const ShadowPass& pass)
{
    for (const Placement& at : wheelPlacements) {
        tyre->drawShadow(pass, at);
    }
}

void Wheel::drawToCubeMap(const CubeMapPass& pass)
{
    for (const Placement& at : wheelPlacements) {
        tyre->drawToCubeMap(pass, at);
    }
}

void Wheel::draw(const LitPass& pass)
{
    for (const Placement& at : wheelPlacements) {
        tyre->draw(pass, at);
    }
}

void Wheel::drawVelocity(const VelocityPass& pass)
{
    for (const Placement& at : wheelPlacements) {
        tyre->drawVelocity(pass, at);
    }
}

void Wheel::setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3)
{
    lightMatrices = {light1, light2, light3};
    for (Placement& at : wheelPlacements) {
        at.setLightMatrices(lightMatrices);
    }
}
