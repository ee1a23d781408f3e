#include "effects/Explosion.h"

#include "effects/ParticleRendering.h"
#include "settings/Settings.h"

#include <span>

namespace {

// Where the idle sparks wait; never drawn, so any point would do.
const glm::vec3 idlePoint(0.0f, 2.0f, 0.0f);
// Life is also the opacity: a spark fades out over its 1.7 to 3.3 seconds.
constexpr float ageRate = 0.3f;
// Red and green drain while blue stays, so a spark cools from white through
// blue. Not clamped: the program clamps the colour it draws.
constexpr float coolRate = 0.7f;
// Sparks stop within a second; the floor keeps them from flying backwards.
constexpr float slowDownRate = 10.0f;
constexpr float minimumSpeed = 0.01f;
// Sparks are drawn larger than smoke puffs: a little over a unit across.
constexpr float pointSizeFactor = 200.0f;

} // namespace

Explosion::Explosion(Shader& shader, GLuint texture)
    : shader(shader),
      texture(texture),
      vertexArray(GLVertexArray::create()),
      buffers{GLBuffer::create(), GLBuffer::create()}
{
    for (int i = 0; i < particleCount; ++i) {
        particles[i].reset(idlePoint);
        copyToArrays(i);
    }
    upload();
}

Explosion::~Explosion() = default;

void Explosion::trigger(float x, float y, float z)
{
    aliveCount = particleCount;
    const glm::vec3 origin(x, y, z);
    for (int i = 0; i < particleCount; ++i) {
        particles[i].reset(origin);
        copyToArrays(i);
    }
    uploadDue = true;
}

void Explosion::update()
{
    if (aliveCount <= 0) {
        return;
    }
    const float dt = static_cast<float>(deltaTime);
    for (int i = 0; i < particleCount; ++i) {
        ExplosionParticle& spark = particles[i];
        if (spark.life <= 0.0f) {
            continue;
        }
        // The drift moves the spark but does not build up in its velocity.
        spark.position += spark.direction * spark.speed * dt + drift * dt;
        spark.life -= ageRate * dt;
        spark.color.a = spark.life;
        spark.color.r -= coolRate * dt;
        spark.color.g -= coolRate * dt;
        spark.speed -= slowDownRate * dt;
        if (spark.speed <= 0.0f) {
            spark.speed = minimumSpeed;
        }
        copyToArrays(i);
        if (spark.life <= 0.0f) {
            --aliveCount;
        }
    }
    uploadDue = true;
}

void Explosion::draw(const Camera& camera)
{
    if (aliveCount <= 0) {
        return;
    }
    if (uploadDue) {
        upload();
    }
    drawParticles(shader, vertexArray, texture, pointSizeFactor, camera, particleCount);
}

void Explosion::setState(const State& state)
{
    particles = state.particles;
    positions = state.positions;
    colors = state.colors;
    aliveCount = state.aliveCount;
    uploadDue = true;
}

void Explosion::copyToArrays(int index)
{
    positions[index] = particles[index].position;
    colors[index] = particles[index].color;
}

void Explosion::upload()
{
    uploadDue = false;
    const auto count = static_cast<std::size_t>(particleCount);
    uploadParticles(vertexArray, buffers, shader, std::span(positions).first(count), std::span(colors).first(count));
}
