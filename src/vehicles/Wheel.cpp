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
    wheelModel.fill(identity);
    wheelNormal.fill(glm::mat3(1.0f));
    wheelCentre.fill(glm::vec3(0.0f));
    for (auto& matrices : lightSpaceMatrices) {
        matrices.fill(identity);
    }
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
        wheelModel[wheel] = carModel * wheelTranslation[wheel] * (front ? steering : identity) * spin;
        // The inverse without the wheel's translation: translations do not
        // reach the upper-left 3x3, and the rotations' inverses are known,
        // so no general inversion is needed every frame.
        const glm::mat4 rotationInverse = spinInverse * (front ? steeringInverse : identity) * carInverse;
        wheelNormal[wheel] = glm::mat3(glm::transpose(rotationInverse));
        wheelCentre[wheel] = glm::vec3(wheelModel[wheel] * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f));
    }
    updateLightSpaceMatrices();
}

void Wheel::drawShadow(const ShadowCaster& light, GLint mvpLocation)
{
    for (int wheel = 0; wheel < count; ++wheel) {
        moveCullingSphere(wheel);
        tyre->drawShadow(light, wheelModel[wheel], tyre->mesh->boundingSphere, mvpLocation);
    }
}

void Wheel::drawToCubeMap(Shader& program, const glm::vec3& cubeCentre)
{
    for (int wheel = 0; wheel < count; ++wheel) {
        tyre->drawToCubeMap(program, cubeCentre, wheelModel[wheel], wheelNormal[wheel], lightSpaceMatrices[wheel]);
    }
}

void Wheel::draw(const Camera& camera)
{
    for (int wheel = 0; wheel < count; ++wheel) {
        moveCullingSphere(wheel);
        tyre->drawWithTransform(camera, wheelModel[wheel], wheelNormal[wheel], tyre->mesh->boundingSphere,
                                lightSpaceMatrices[wheel]);
    }
}

void Wheel::drawVelocity(const Camera& camera, Shader& program)
{
    for (int wheel = 0; wheel < count; ++wheel) {
        moveCullingSphere(wheel);
        // The wheel's own previous matrix is not kept: only the camera's
        // movement blurs it, as for every other object.
        tyre->drawVelocityWithTransform(camera, program, wheelModel[wheel], wheelModel[wheel],
                                        tyre->mesh->boundingSphere);
    }
}

void Wheel::setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3)
{
    lightMatrices = {light1, light2, light3};
    updateLightSpaceMatrices();
}

void Wheel::updateLightSpaceMatrices()
{
    for (std::size_t wheel = 0; wheel < count; ++wheel) {
        for (std::size_t light = 0; light < lightMatrices.size(); ++light) {
            lightSpaceMatrices[wheel][light] = lightMatrices[light] * wheelModel[wheel];
        }
    }
}

void Wheel::moveCullingSphere(int wheel)
{
    tyre->mesh->boundingSphere.worldCentre = wheelCentre[static_cast<std::size_t>(wheel)];
}
