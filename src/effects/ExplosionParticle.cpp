#include "effects/ExplosionParticle.h"

#include "effects/ParticleRandom.h"

namespace {

// Sparks start white and fade through blue (Explosion::update).
const glm::vec4 freshColor(1.0f, 1.0f, 1.0f, 1.0f);
// 6 to 8 units per second: the burst spreads about a car's length before
// the deceleration stops it.
constexpr float minSpeed = 6.0f;
constexpr float speedRange = 2.0f;
// 0.5 to 1: at 0.3 a second the longest-lived spark lasts about 3.3 s.
constexpr float minLife = 0.5f;
constexpr float lifeRange = 0.5f;

// A draw in [-1, 1].
float signedDraw()
{
    return static_cast<float>(2.0 * (particleRandom() - 0.5));
}

} // namespace

void ExplosionParticle::reset(const glm::vec3& p)
{
    color = freshColor;
    const float a = static_cast<float>(particleRandom());
    speed = speedRange * a + minSpeed;
    life = lifeRange * a + minLife;
    // Separate statements keep the draws in the order b, then c.
    const float b = signedDraw();
    const float c = signedDraw();
    position = p;
    // b and c are never both 0 (a draw is k / 32767, never exactly 0.5), so
    // the vector can always be normalised.
    direction = glm::normalize(glm::vec3(b, a, c));
}
