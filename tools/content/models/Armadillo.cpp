#include "common/ShapePrimitives.h"
#include "models/ArmadilloAtlas.h"
#include "models/Models.h"

#include <glm/gtc/constants.hpp>

#include <cmath>
#include <vector>

// An armadillo about 1 tall (ears up) on its feet at y = 0, facing -z, short
// enough (1.6) to stand on its pedestal. Each part is a smooth surface with
// its own rectangle of the shared texture; the coarse mesh carries the shape
// and the banding, the relief maps the plates and scales.
namespace {
using armadillo::Part;

constexpr glm::vec3 bodyCentre(0.0f, 0.42f, 0.0f);
constexpr glm::vec3 bodyRadii(0.34f, 0.34f, 0.47f);

void useRegion(Shape& shape, Part part)
{
    shape.setUvRect(armadillo::atlasUv(part, 0.0f, 0.0f), armadillo::atlasUv(part, 1.0f, 1.0f));
}

// A domed shell whose sides hang lower than the flat belly between them; the
// middle bands stand out as low steps, each higher at its back edge where it
// overlaps the next.
void addBody(Shape& shape)
{
    useRegion(shape, Part::Body);
    constexpr int columns = 72, rows = 48;
    shape.addGrid(columns, rows, [&](int i, int j) {
        float s = float(i) / columns, t = float(j) / rows;
        float theta = glm::pi<float>() * t;
        float psi = i == columns ? 0.0f : glm::two_pi<float>() * s; // 0 under the belly
        glm::vec3 unit(std::sin(theta) * std::sin(psi), -std::sin(theta) * std::cos(psi), -std::cos(theta));
        if (unit.y < 0.0f) {
            unit.y *= 0.68f + 0.3f * std::sin(psi) * std::sin(psi);
        }
        float scale = 1.0f;
        float shell = std::max(0.0f, std::cos(psi + glm::pi<float>())); // 1 on top, 0 from the sides down
        if (t > armadillo::bandsStart && t < armadillo::bandsEnd) {
            float band = (t - armadillo::bandsStart) / (armadillo::bandsEnd - armadillo::bandsStart) * armadillo::bandCount;
            scale += 0.02f * shell * (band - std::floor(band));
        }
        return Shape::Corner{bodyCentre + unit * bodyRadii * scale, {s, t}};
    });
}

// A tapering tube along a smooth curve; radius(t) gives its two half-widths,
// across (along the frame's normal, which starts nearest to seamSide) and
// sideways. The seam of the texture runs along seamSide, out of sight.
template <typename Radius>
void addLimb(Shape& shape, Part part, const std::vector<glm::vec3>& controls, Radius radius, int sides, int rings,
             const glm::vec3& seamSide)
{
    useRegion(shape, part);
    std::vector<primitives::TubeRing> tube;
    for (int k = 0; k <= rings; ++k) {
        float t = float(k) / rings;
        tube.push_back({primitives::curvePoint(controls, t), radius(t)});
    }
    primitives::addTube(shape, tube, sides, seamSide, false, false);
}

void addHead(Shape& shape)
{
    addLimb(shape, Part::Head,
            {{0.0f, 0.50f, -0.30f}, {0.0f, 0.49f, -0.48f}, {0.0f, 0.40f, -0.64f}, {0.0f, 0.30f, -0.78f}},
            [](float t) {
                // Full at the crown, drawn out into a long snout with a round tip.
                float r = t < 0.3f ? 0.15f : 0.15f - 0.11f * (t - 0.3f) / 0.62f;
                if (t > 0.92f) {
                    r = 0.04f * std::sqrt(std::max(0.0f, 1.0f - ((t - 0.92f) / 0.08f) * ((t - 0.92f) / 0.08f)));
                }
                return glm::vec2(r * 0.88f, r);
            },
            24, 24, {0, -1, 0});
}

void addEars(Shape& shape)
{
    for (float side : {-1.0f, 1.0f}) {
        addLimb(shape, side < 0 ? Part::LeftEar : Part::RightEar,
                {{side * 0.06f, 0.56f, -0.47f}, {side * 0.1f, 0.72f, -0.44f}, {side * 0.13f, 0.88f, -0.39f}},
                [](float t) {
                    // A leaf: widest a third of the way up, closing to a point.
                    float w = 0.065f * std::sin(glm::pi<float>() * std::pow(std::min(t * 1.0f, 1.0f), 0.7f));
                    return glm::vec2(0.018f * (1.0f - t) + 0.002f, w + 0.001f);
                },
                12, 10, {0, 0, -1});
    }
}

void addLegs(Shape& shape)
{
    const Part parts[4] = {Part::FrontLeftLeg, Part::FrontRightLeg, Part::BackLeftLeg, Part::BackRightLeg};
    for (int k = 0; k < 4; ++k) {
        float x = k % 2 == 0 ? -0.17f : 0.17f, z = k < 2 ? -0.24f : 0.24f;
        constexpr float foot = 0.075f;
        // Straight down, ending in a rounded foot whose lowest point is y = 0.
        std::vector<primitives::TubeRing> rings;
        useRegion(shape, parts[k]);
        constexpr int legRings = 10, footRings = 6;
        // Narrow at the top, so the open end stays hidden inside the body.
        rings.push_back({{x, 0.56f, z}, glm::vec2(0.05f)});
        for (int r = 0; r <= legRings; ++r) {
            float t = float(r) / legRings;
            rings.push_back({{x * (1.0f + 0.1f * t), glm::mix(0.44f, foot, t), z}, glm::vec2(glm::mix(0.095f, foot, t))});
        }
        for (int r = 1; r <= footRings; ++r) {
            float a = glm::half_pi<float>() * r / footRings;
            rings.push_back({{x * 1.1f, foot * (1.0f - std::sin(a)), z}, glm::vec2(foot * std::cos(a))});
        }
        // The texture runs down the leg to the sole, seam on the inner side.
        primitives::addTube(shape, rings, 16, {x < 0 ? 1.0f : -1.0f, 0, 0}, false, false);
    }
}

void addTail(Shape& shape)
{
    addLimb(shape, Part::Tail,
            {{0.0f, 0.40f, 0.34f}, {0.0f, 0.33f, 0.52f}, {0.04f, 0.16f, 0.66f}, {0.1f, 0.04f, 0.74f}},
            [](float t) {
                float r = glm::mix(0.1f, 0.018f, t);
                if (t > 0.95f) {
                    r *= std::sqrt(std::max(0.0f, 1.0f - ((t - 0.95f) / 0.05f) * ((t - 0.95f) / 0.05f)));
                }
                return glm::vec2(r);
            },
            14, 20, {0, -1, 0});
}
} // namespace

MeshBuilder buildArmadillo()
{
    Shape shape;
    shape.useMaterial(makeMaterial("Armadillo", {0.62f, 0.52f, 0.45f}, 0.3f, 10.0f));
    addBody(shape);
    addHead(shape);
    addEars(shape);
    addLegs(shape);
    addTail(shape);
    MeshBuilder mesh;
    shape.emit(mesh, 70.0f);
    return mesh;
}
