#include "vehicles/Car.h"

#include "effects/Smoke.h"
#include "scene/Camera.h"
#include "settings/Settings.h"
#include "vehicles/TCallback.h"
#include "vehicles/Wheel.h"

#include <glm/gtc/matrix_transform.hpp>

#include <cmath>

namespace {

const glm::mat4 identity(1.0f);
const glm::vec3 xAxis(1.0f, 0.0f, 0.0f);
const glm::vec3 yAxis(0.0f, 1.0f, 0.0f);
const glm::vec3 forward(0.0f, 0.0f, -1.0f);

glm::mat4 rotation(float degrees, const glm::vec3& axis)
{
    return glm::rotate(identity, glm::radians(degrees), axis);
}

// The chase eye sits 6 units above and 12 behind the car's origin, pitched
// down 15 degrees, so the car sits in the lower middle of the view with the
// road ahead above it. The inverse is written out rather than computed.
const glm::mat4 chaseOffset = glm::translate(identity, glm::vec3(0.0f, 6.0f, 12.0f)) * rotation(-15.0f, xAxis);
const glm::mat4 chaseOffsetInverse = rotation(15.0f, xAxis) * glm::translate(identity, glm::vec3(0.0f, -6.0f, -12.0f));

// Braking decelerates at 15 per second, and the same control reverses down
// to 15 (a step may overshoot it by less than one step).
constexpr float brakeRate = 15.0f;
constexpr float reverseSpeedLimit = -15.0f;
// Coasting loses 4 per second forwards, and twice that when reversing, so a
// car at full speed rolls out in 5.5 s and a reversing one stops sooner.
constexpr float forwardRollingResistance = 4.0f;
constexpr float reverseRollingResistance = 8.0f;
// Below this speed the turn rate grows with the speed: a car at rest
// cannot turn on the spot.
constexpr float turnRateThreshold = 3.0f;
// At maxSpeed the car turns at two thirds of its rate at the threshold.
constexpr float topSpeedTurnDivisor = 1.5f;
// The front wheels show 30 percent of the turn rate as their angle: enough
// to read as steering without the tyres crossing into the body.
constexpr float steeringShare = 0.3f;
// The camera lag halves in about a third of a second.
constexpr float cameraLagDecayRate = 2.0f;

float frameTime()
{
    return static_cast<float>(deltaTime);
}

} // namespace

Car::Car()
    : direction(new glm::vec3(forward)),
      speed(new float(0.0f)),
      camera(new Camera()),
      wheels(new Wheel()),
      callback(new TCallback<Car>())
{
    for (int key = 1; key <= Wheel::count; ++key) {
        wheelPositions[key] = glm::vec3(0.0f);
    }
}

Car::~Car()
{
    delete callback;
    delete speed;
    delete camera;
    delete direction;
    delete wheels;
    if (hasSmoke) {
        delete smoke;
    }
}

void Car::reset()
{
    resetTransform();
    *direction = forward;
    *speed = 0.0f;
    camera->resetTransform();
    cameraLag = 0.0f;
    // Rebuilds the frustum too; the placement that follows the reset carries
    // it into the world.
    camera->setupProjection();
    speedFactor = 1.0f;
}

void Car::setWheelPosition(int key, const glm::vec3& position)
{
    wheelPositions[key] = position;
    for (const auto& [wheelKey, wheelPosition] : wheelPositions) {
        if (wheelKey >= 1 && wheelKey <= Wheel::count) {
            wheels->wheelTranslation[static_cast<std::size_t>(wheelKey - 1)] =
                glm::translate(identity, wheelPosition);
        }
    }
}

void Car::accelerate()
{
    const float gain = acceleration * frameTime();
    if (*speed < maxSpeed - gain) {
        *speed += gain;
    }
}

void Car::brake()
{
    if (*speed > reverseSpeedLimit) {
        *speed -= brakeRate * frameTime();
    }
}

void Car::steerLeft()
{
    steeringLeft = true;
    const float rate = turnRate();
    rotateYOverTime(rate);
    // Opposite steering in the same frame cancels the turn, so the wheels stay straight.
    if (steeringRight) {
        wheels->steeringAngle = 0.0f;
    } else {
        wheels->steeringAngle = *speed > 0.0f ? steeringShare * rate : -steeringShare * rate;
    }
    // After the rotation, whose own transform hook has already decayed the old lag.
    cameraLag += rate * frameTime();
}

void Car::steerRight()
{
    steeringRight = true;
    const float rate = turnRate();
    rotateYOverTime(-rate);
    if (steeringLeft) {
        wheels->steeringAngle = 0.0f;
    } else {
        wheels->steeringAngle = *speed > 0.0f ? -steeringShare * rate : steeringShare * rate;
    }
    cameraLag -= rate * frameTime();
}

float Car::turnRate() const
{
    const float rateAtThreshold = turnRateAtThreshold;
    const float rateAtTopSpeed = rateAtThreshold / topSpeedTurnDivisor;
    const float v = *speed * speedFactor;
    if (std::fabs(v) < turnRateThreshold) {
        return rateAtThreshold / turnRateThreshold * v;
    }
    const float rate = rateAtTopSpeed + (std::fabs(v) - maxSpeed) * (rateAtTopSpeed - rateAtThreshold) /
                                            (maxSpeed - turnRateThreshold);
    return v < 0.0f ? -rate : rate;
}

void Car::applyControls(Controls controls)
{
    wheels->steeringAngle = 0.0f;
    if (controls.has(Control::Accelerate)) {
        accelerate();
    }
    if (controls.has(Control::Brake)) {
        brake();
    }
    if (controls.has(Control::SteerLeft)) {
        steerLeft();
    }
    if (controls.has(Control::SteerRight)) {
        steerRight();
    }
}

void Car::updateMotion()
{
    applyRollingResistance();
    const glm::vec3 velocity = *direction * *speed * speedFactor;
    translateOverTime(velocity.x, velocity.y, velocity.z);
    wheels->roll(*speed);
    if (hasSmoke) {
        feedSmoke();
    }
    steeringLeft = false;
    steeringRight = false;
}

void Car::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    Geometry::applyTransform(transform, inverseTransform);
    camera->setTransform(*modelMatrix * rotation(-cameraLag, yAxis) * chaseOffset,
                         chaseOffsetInverse * rotation(cameraLag, yAxis) * *inverseModelMatrix);
    wheels->place(*modelMatrix, *inverseModelMatrix);
    // Decays on every transform, so twice in a frame that both turns and moves.
    cameraLag -= cameraLagDecayRate * cameraLag * frameTime();
}

void Car::setSmoke(Smoke* emitter)
{
    if (hasSmoke && smoke != emitter) {
        delete smoke;
    }
    smoke = emitter;
    hasSmoke = emitter != nullptr;
}

void Car::applyRollingResistance()
{
    const float d = frameTime();
    if (*speed >= forwardRollingResistance * d) {
        *speed -= forwardRollingResistance * d;
    } else if (*speed <= -reverseRollingResistance * d) {
        *speed += reverseRollingResistance * d;
    } else {
        *speed = 0.0f;
    }
}

void Car::feedSmoke()
{
    const glm::vec4 pipe1 = *modelMatrix * exhaustPoint1;
    const glm::vec4 pipe2 = *modelMatrix * exhaustPoint2;
    // A point one unit behind the first pipe gives the car's backward axis in world space.
    const glm::vec4 behindPipe1 = *modelMatrix * (exhaustPoint1 + glm::vec4(0.0f, 0.0f, 1.0f, 0.0f));
    smoke->emitterA = glm::vec3(pipe1);
    smoke->emitterB = glm::vec3(pipe2);
    smoke->emitDirection = glm::vec3(behindPipe1 - pipe1);
    smoke->update();
}
