#include "effects/Particle.h"

#include "effects/ParticleRandom.h"

namespace {

// A fresh puff is dark grey and fully opaque; it brightens and thins as it ages.
const glm::vec4 freshColor(0.1f, 0.1f, 0.1f, 1.0f);
// Puffs start anywhere within a 0.1 cube around the pipe's mouth, so the
// stream looks like a plume rather than a string of points.
constexpr float spawnSpread = 0.1f;

float spawnOffset()
{
    return static_cast<float>(particleRandom() - 0.5) * spawnSpread;
}

} // namespace

void Particle::reset(const glm::vec3& p, const glm::vec3& d)
{
    color = freshColor;
    const float r = static_cast<float>(particleRandom());
    speed = r;
    life = r;
    // Three statements, not one expression: the draws must be taken x, y, z
    // in that order, and argument evaluation order is unspecified.
    const float x = spawnOffset();
    const float y = spawnOffset();
    const float z = spawnOffset();
    position = p + glm::vec3(x, y, z);
    direction = d;
}
