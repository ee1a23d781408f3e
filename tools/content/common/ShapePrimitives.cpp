#include "common/ShapePrimitives.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>

namespace primitives {
namespace {
constexpr float tau = glm::two_pi<float>();

// Keeps the sign, so a superellipse stays symmetric.
float signedPower(float value, float exponent)
{
    return std::copysign(std::pow(std::abs(value), exponent), value);
}

glm::vec3 perpendicularNear(const glm::vec3& axis, const glm::vec3& hint)
{
    glm::vec3 n = hint - axis * glm::dot(axis, hint);
    if (glm::length(n) < 1e-4f) {
        glm::vec3 other = std::abs(axis.x) < 0.9f ? glm::vec3(1, 0, 0) : glm::vec3(0, 1, 0);
        n = other - axis * glm::dot(axis, other);
    }
    return glm::normalize(n);
}
} // namespace

void addLathe(Shape& shape, const std::vector<glm::vec2>& profile, int segments, float angle0, float angle1)
{
    int rows = static_cast<int>(profile.size()) - 1;
    auto pointAt = [&](float angle, int j) {
        const glm::vec2& p = profile[static_cast<std::size_t>(j)];
        return glm::vec3(p.x * std::sin(angle), p.y, p.x * std::cos(angle));
    };
    auto angleOf = [&](int i) {
        // The full turn ends exactly where it started, so the seam welds.
        return i == segments && angle1 - angle0 >= tau - 1e-4f ? angle0 : angle0 + (angle1 - angle0) * i / segments;
    };
    shape.addGrid(segments, rows, [&](int i, int j) {
        return Shape::Corner{pointAt(angleOf(i), j), {float(i) / segments, float(j) / rows}};
    });
    if (angle1 - angle0 >= tau - 1e-4f) {
        return;
    }
    glm::vec2 centre(0.0f);
    for (const glm::vec2& p : profile) {
        centre += p;
    }
    centre /= float(profile.size());
    for (int end = 0; end < 2; ++end) {
        float angle = end == 0 ? angle0 : angle1;
        glm::vec3 c(centre.x * std::sin(angle), centre.y, centre.x * std::cos(angle));
        for (int j = 0; j < rows; ++j) {
            Shape::Corner a{c, {0.5f, 0.5f}}, b{pointAt(angle, j), {0, 0}}, d{pointAt(angle, j + 1), {1, 0}};
            if (end == 0) {
                shape.addTriangle(a, b, d);
            } else {
                shape.addTriangle(a, d, b);
            }
        }
    }
}

void addBlob(Shape& shape, const glm::vec3& centre, const glm::vec3& radii, int columns, int rows,
             float aroundExponent, float uprightExponent)
{
    float around = 2.0f / aroundExponent, upright = 2.0f / uprightExponent;
    shape.addGrid(columns, rows, [&](int i, int j) {
        float theta = glm::pi<float>() * (1.0f - float(j) / rows); // bottom pole first
        float phi = i == columns ? 0.0f : tau * i / columns;
        float ring = signedPower(std::sin(theta), upright);
        glm::vec3 unit(ring * signedPower(std::sin(phi), around), signedPower(std::cos(theta), upright),
                       ring * signedPower(std::cos(phi), around));
        return Shape::Corner{centre + unit * radii, {float(i) / columns, float(j) / rows}};
    });
}

void addBox(Shape& shape, const glm::vec3& lo, const glm::vec3& hi)
{
    glm::vec3 c[8];
    for (int k = 0; k < 8; ++k) {
        c[k] = glm::vec3(k & 1 ? hi.x : lo.x, k & 2 ? hi.y : lo.y, k & 4 ? hi.z : lo.z);
    }
    // Corner indices of each face, counter-clockwise from outside.
    const int faces[6][4] = {{0, 4, 6, 2}, {1, 3, 7, 5}, {0, 1, 5, 4}, {2, 6, 7, 3}, {0, 2, 3, 1}, {4, 5, 7, 6}};
    for (const auto& f : faces) {
        shape.addQuad({c[f[0]], {0, 0}}, {c[f[1]], {1, 0}}, {c[f[2]], {1, 1}}, {c[f[3]], {0, 1}});
    }
}

void addTube(Shape& shape, const std::vector<TubeRing>& rings, int sides, const glm::vec3& up, bool capStart,
             bool capEnd)
{
    int count = static_cast<int>(rings.size());
    std::vector<glm::vec3> normals(rings.size()), binormals(rings.size());
    glm::vec3 previous = up;
    for (int j = 0; j < count; ++j) {
        glm::vec3 ahead = rings[static_cast<std::size_t>(std::min(j + 1, count - 1))].centre;
        glm::vec3 behind = rings[static_cast<std::size_t>(std::max(j - 1, 0))].centre;
        glm::vec3 tangent = glm::normalize(ahead - behind);
        normals[j] = perpendicularNear(tangent, previous);
        binormals[j] = glm::cross(tangent, normals[j]);
        previous = normals[j];
    }
    auto pointAt = [&](int i, int j) {
        float phi = i == sides ? 0.0f : tau * i / sides;
        const TubeRing& r = rings[static_cast<std::size_t>(j)];
        return r.centre + normals[j] * (r.radii.x * std::cos(phi)) + binormals[j] * (r.radii.y * std::sin(phi));
    };
    shape.addGrid(sides, count - 1, [&](int i, int j) {
        return Shape::Corner{pointAt(i, j), {float(i) / sides, float(j) / (count - 1)}};
    });
    for (int i = 0; i < sides; ++i) {
        if (capStart) {
            shape.addTriangle({rings.front().centre, {0.5f, 0.5f}}, {pointAt(i + 1, 0), {1, 0}}, {pointAt(i, 0), {0, 0}});
        }
        if (capEnd) {
            shape.addTriangle({rings.back().centre, {0.5f, 0.5f}}, {pointAt(i, count - 1), {0, 0}},
                              {pointAt(i + 1, count - 1), {1, 0}});
        }
    }
}

void addTube(Shape& shape, const std::vector<glm::vec3>& path, float radius, int sides, bool capStart, bool capEnd)
{
    std::vector<TubeRing> rings;
    for (const glm::vec3& p : path) {
        rings.push_back({p, glm::vec2(radius)});
    }
    addTube(shape, rings, sides, glm::vec3(0, 1, 0), capStart, capEnd);
}

std::vector<glm::vec3> roundCorners(const std::vector<glm::vec3>& points, float radius, int steps)
{
    if (points.size() < 3) {
        return points;
    }
    std::vector<glm::vec3> out{points.front()};
    for (std::size_t k = 1; k + 1 < points.size(); ++k) {
        glm::vec3 in = points[k - 1] - points[k], outDir = points[k + 1] - points[k];
        float d = std::min({radius, 0.45f * glm::length(in), 0.45f * glm::length(outDir)});
        glm::vec3 a = points[k] + glm::normalize(in) * d, b = points[k] + glm::normalize(outDir) * d;
        for (int s = 0; s <= steps; ++s) {
            float t = float(s) / steps;
            out.push_back((1 - t) * (1 - t) * a + 2 * (1 - t) * t * points[k] + t * t * b);
        }
    }
    out.push_back(points.back());
    return out;
}

glm::vec3 curvePoint(const std::vector<glm::vec3>& points, float t)
{
    int segments = static_cast<int>(points.size()) - 1;
    float x = glm::clamp(t, 0.0f, 1.0f) * segments;
    int k = std::min(static_cast<int>(x), segments - 1);
    float f = x - k;
    auto at = [&](int i) { return points[static_cast<std::size_t>(glm::clamp(i, 0, segments))]; };
    glm::vec3 p0 = at(k - 1), p1 = at(k), p2 = at(k + 1), p3 = at(k + 2);
    return 0.5f * ((2.0f * p1) + (-p0 + p2) * f + (2.0f * p0 - 5.0f * p1 + 4.0f * p2 - p3) * f * f +
                   (-p0 + 3.0f * p1 - 3.0f * p2 + p3) * f * f * f);
}

} // namespace primitives
