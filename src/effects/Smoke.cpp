#include "effects/Smoke.h"

#include "effects/ParticleRendering.h"
#include "settings/Settings.h"

#include <span>

namespace {

// A puff lives at most 1/12 s (its life starts at up to 1), so the plume is
// a dense stream that hugs the pipes instead of trailing across the room.
constexpr float ageRate = 12.0f;
// Thin smoke: even a fresh puff is mostly see-through.
constexpr float opacityPerLife = 0.35f;
// Dark grey at the pipe to light grey at the end of the puff's life.
constexpr float brightenRate = 8.0f;
// Puffs slow down as they spread; the floor keeps a slow puff from turning
// back into the pipe.
constexpr float slowDownRate = 5.0f;
constexpr float minimumSpeed = 0.01f;
// The program turns this into a puff a few tenths of a unit across.
constexpr float pointSizeFactor = 30.0f;

} // namespace

Smoke::Smoke(Shader& shader, GLuint texture)
    : shader(shader),
      texture(texture),
      vertexArray(GLVertexArray::create()),
      buffers{GLBuffer::create(), GLBuffer::create()}
{
    for (int i = 0; i < particleCount; ++i) {
        respawn(i);
        copyToArrays(i);
    }
    upload();
}

Smoke::~Smoke() = default;

void Smoke::update()
{
    const float dt = static_cast<float>(deltaTime);
    for (int i = 0; i < particleCount; ++i) {
        Particle& puff = particles[i];
        puff.position += puff.direction * puff.speed * dt + drift * dt;
        puff.life -= ageRate * dt;
        puff.color.a = opacityPerLife * puff.life;
        puff.color.r += brightenRate * dt;
        puff.color.g += brightenRate * dt;
        puff.color.b += brightenRate * dt;
        puff.speed -= slowDownRate * dt;
        if (puff.speed <= 0.0f) {
            puff.speed = minimumSpeed;
        }
        copyToArrays(i);
        if (puff.life <= 0.0f) {
            respawn(i);
        }
    }
    uploadDue = true;
}

void Smoke::draw(const Camera& camera)
{
    if (uploadDue) {
        upload();
    }
    drawParticles(shader, vertexArray, texture, pointSizeFactor, camera, particleCount);
}

void Smoke::setState(const State& state)
{
    particles = state.particles;
    positions = state.positions;
    colors = state.colors;
    emitterA = state.emitterA;
    emitterB = state.emitterB;
    emitDirection = state.emitDirection;
    uploadDue = true;
}

void Smoke::respawn(int index)
{
    const glm::vec3& emitter = index % 2 == 1 ? emitterA : emitterB;
    particles[index].reset(emitter, emitDirection);
}

void Smoke::copyToArrays(int index)
{
    positions[index] = particles[index].position;
    colors[index] = particles[index].color;
}

void Smoke::upload()
{
    uploadDue = false;
    const auto count = static_cast<std::size_t>(particleCount);
    uploadParticles(vertexArray, buffers, shader, std::span(positions).first(count), std::span(colors).first(count));
}
