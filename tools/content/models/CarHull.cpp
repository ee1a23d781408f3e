#include "models/CarHull.h"

#include <glm/gtc/constants.hpp>

#include <algorithm>
#include <cmath>

namespace {
// Points per piece of half a section, from the middle of the floor round to
// the middle of the top.
constexpr int floorPoints = 4, bottomCornerPoints = 3, lowerSidePoints = 3, upperSidePoints = 3,
              topCornerPoints = 4, topPoints = 8;
constexpr float ringSpacing = 0.05f;
constexpr int archRings = 14;

enum class Piece { Floor, BottomCorner, LowerSide, UpperSide, TopCorner, Top };

struct SectionPoint {
    glm::vec2 position; // x, y
    Piece piece;
};

struct Ring {
    float z;
    const WheelArch* arch; // the opening this ring cuts, if any
};

// Cubic through the keys with slopes from the neighbours, flat at the ends.
float keyValue(const std::vector<HullKey>& keys, float z, float HullKey::*field)
{
    if (z <= keys.front().z) {
        return keys.front().*field;
    }
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        const HullKey &a = keys[k], &b = keys[k + 1];
        if (z > b.z) {
            continue;
        }
        auto slope = [&](std::size_t i) {
            if (i == 0 || i + 1 >= keys.size()) {
                return 0.0f;
            }
            return (keys[i + 1].*field - keys[i - 1].*field) / (keys[i + 1].z - keys[i - 1].z);
        };
        float h = b.z - a.z, t = (z - a.z) / h;
        float t2 = t * t, t3 = t2 * t;
        return (2 * t3 - 3 * t2 + 1) * (a.*field) + (t3 - 2 * t2 + t) * h * slope(k) + (-2 * t3 + 3 * t2) * (b.*field) +
               (t3 - t2) * h * slope(k + 1);
    }
    return keys.back().*field;
}

std::vector<Ring> ringsOf(const HullDesign& d)
{
    std::vector<Ring> rings;
    float front = d.keys.front().z, back = d.keys.back().z;
    std::vector<const WheelArch*> arches;
    for (const WheelArch& a : d.arches) {
        arches.push_back(&a);
    }
    std::sort(arches.begin(), arches.end(), [](const WheelArch* a, const WheelArch* b) { return a->z < b->z; });
    float z = front;
    std::size_t next = 0;
    int steps = 0;
    while (z < back - 1e-4f) {
        if (next < arches.size() && z >= arches[next]->z - arches[next]->radius - 1e-4f) {
            const WheelArch* a = arches[next++];
            rings.push_back({a->z - a->radius, nullptr});
            // Even steps in angle round the half circle keep its ends round.
            for (int k = 0; k <= archRings; ++k) {
                float angle = glm::pi<float>() * k / archRings;
                rings.push_back({a->z - a->radius * std::cos(angle), a});
            }
            rings.push_back({a->z + a->radius, nullptr});
            float after = a->z + a->radius;
            steps = static_cast<int>(std::ceil((after - front) / ringSpacing));
            z = front + steps * ringSpacing;
            continue;
        }
        rings.push_back({z, nullptr});
        z = front + (++steps) * ringSpacing;
    }
    // An opening may reach past the tail; the tail ring closes it there.
    while (!rings.empty() && rings.back().z >= back - 1e-4f) {
        rings.pop_back();
    }
    rings.push_back({back, nullptr});
    return rings;
}

// 1 inside the cockpit opening, 0 outside, with a short rounded wall between.
float cockpitDepthFactor(const HullDesign& d, float x, float z)
{
    if (!d.cockpit) {
        return 0.0f;
    }
    const Cockpit& c = *d.cockpit;
    constexpr float cornerRadius = 0.15f, wall = 0.06f;
    glm::vec2 centre(d.centreX, 0.5f * (c.front + c.back));
    glm::vec2 half(c.halfWidth - cornerRadius, 0.5f * (c.back - c.front) - cornerRadius);
    glm::vec2 q = glm::abs(glm::vec2(x, z) - centre) - half;
    float distance = glm::length(glm::max(q, 0.0f)) + std::min(std::max(q.x, q.y), 0.0f) - cornerRadius;
    return glm::smoothstep(0.0f, wall, -distance);
}

std::vector<SectionPoint> sectionAt(const HullDesign& d, const Ring& ring)
{
    float w = keyValue(d.keys, ring.z, &HullKey::halfWidth);
    float bottom = keyValue(d.keys, ring.z, &HullKey::bottom);
    float belt = keyValue(d.keys, ring.z, &HullKey::belt);
    float top = keyValue(d.keys, ring.z, &HullKey::top);
    if (ring.arch) {
        float dz = ring.z - ring.arch->z;
        bottom = std::max(bottom, ring.arch->y + std::sqrt(std::max(0.0f, ring.arch->radius * ring.arch->radius - dz * dz)));
    }
    // Over a wheel the body grows a fender rather than letting the opening cut through.
    float archTop = bottom;
    for (const WheelArch& a : d.arches) {
        float dz = std::abs(ring.z - a.z);
        if (dz < a.radius + 0.15f) {
            float reach = std::sqrt(std::max(0.0f, (a.radius + 0.15f) * (a.radius + 0.15f) - dz * dz));
            archTop = std::max(archTop, a.y + reach - 0.1f);
        }
    }
    belt = std::max(belt, archTop + 0.03f);
    top = std::max(top, belt + 0.06f);
    float edgeY = top - d.crown;
    float rb = std::min(d.bottomRadius, 0.45f * (belt - bottom));
    float rt = std::min(d.topRadius, 0.45f * (edgeY - belt));
    float upperX = w - d.tumblehome;

    std::vector<SectionPoint> half;
    auto add = [&](float x, float y, Piece p) { half.push_back({{x, y}, p}); };
    for (int k = 0; k < floorPoints; ++k) {
        add((w - rb) * k / floorPoints, bottom, Piece::Floor);
    }
    for (int k = 0; k < bottomCornerPoints; ++k) {
        float a = glm::half_pi<float>() * (-1.0f + float(k) / bottomCornerPoints);
        add(w - rb + rb * std::cos(a), bottom + rb + rb * std::sin(a), Piece::BottomCorner);
    }
    for (int k = 0; k < lowerSidePoints; ++k) {
        add(w, bottom + rb + (belt - bottom - rb) * k / lowerSidePoints, Piece::LowerSide);
    }
    glm::vec2 upperStart(w, belt), upperEnd(upperX, edgeY - rt);
    for (int k = 0; k < upperSidePoints; ++k) {
        glm::vec2 p = glm::mix(upperStart, upperEnd, float(k) / upperSidePoints);
        add(p.x, p.y, Piece::UpperSide);
    }
    for (int k = 0; k < topCornerPoints; ++k) {
        float a = glm::half_pi<float>() * float(k) / topCornerPoints;
        add(upperX - rt + rt * std::cos(a), edgeY - rt + rt * std::sin(a), Piece::TopCorner);
    }
    float topStart = upperX - rt;
    for (int k = 0; k <= topPoints; ++k) {
        float x = topStart * (1.0f - float(k) / topPoints);
        float dome = 1.0f - (x / topStart) * (x / topStart);
        add(x, edgeY + d.crown * dome, Piece::Top);
    }

    // Mirror into a full loop: the right half runs up, the left half comes back down.
    std::vector<SectionPoint> loop;
    for (int k = static_cast<int>(half.size()) - 1; k >= 1; --k) {
        SectionPoint p = half[static_cast<std::size_t>(k)];
        p.position.x = -p.position.x;
        if (k == static_cast<int>(half.size()) - 1) {
            continue; // the top middle point is shared
        }
        loop.push_back(p);
    }
    std::vector<SectionPoint> full(half.begin(), half.end());
    full.insert(full.end(), loop.begin(), loop.end());
    for (SectionPoint& p : full) {
        float depth = 0.0f;
        if (p.piece == Piece::Top || p.piece == Piece::TopCorner) {
            depth = d.cockpit ? d.cockpit->depth * cockpitDepthFactor(d, p.position.x + d.centreX, ring.z) : 0.0f;
        }
        p.position.x += d.centreX;
        // Over a wheel opening the cockpit floor stays above the opening's roof.
        p.position.y = std::max(p.position.y - depth, std::min(p.position.y, bottom + 0.05f));
    }
    return full;
}
} // namespace

void addHull(Shape& shape, const HullDesign& d)
{
    std::vector<Ring> rings = ringsOf(d);
    std::vector<std::vector<SectionPoint>> sections;
    for (const Ring& ring : rings) {
        sections.push_back(sectionAt(d, ring));
    }
    int around = static_cast<int>(sections.front().size());
    int count = static_cast<int>(rings.size());
    auto pointAt = [&](int i, int j) {
        const SectionPoint& p = sections[static_cast<std::size_t>(j)][static_cast<std::size_t>(i % around)];
        return glm::vec3(p.position, rings[static_cast<std::size_t>(j)].z);
    };
    auto pieceAt = [&](int i, int j) { return sections[static_cast<std::size_t>(j)][static_cast<std::size_t>(i % around)].piece; };
    shape.addGrid(around, count - 1, [&](int i, int j) {
        return Shape::Corner{pointAt(i, j), {float(i) / around, float(j) / (count - 1)}};
    }, [&](int i, int j) -> const Material* {
        bool inArch = rings[static_cast<std::size_t>(j)].arch || rings[static_cast<std::size_t>(j + 1)].arch;
        Piece p = pieceAt(i, j), q = pieceAt(i + 1, j);
        if (inArch && (p == Piece::Floor || p == Piece::BottomCorner) && (q == Piece::Floor || q == Piece::BottomCorner)) {
            return &d.arch;
        }
        auto sunk = [&](int ii, int jj) {
            glm::vec3 at = pointAt(ii, jj);
            return (pieceAt(ii, jj) == Piece::Top || pieceAt(ii, jj) == Piece::TopCorner) &&
                   cockpitDepthFactor(d, at.x, at.z) > 0.3f;
        };
        if (sunk(i, j) || sunk(i + 1, j) || sunk(i, j + 1) || sunk(i + 1, j + 1)) {
            return &d.interior;
        }
        if (d.stripe && p == Piece::Top && q == Piece::Top) {
            // Measured against the width of the top, so the stripes narrow with the nose.
            float topHalfWidth = 0.0f;
            for (const SectionPoint& point : sections[static_cast<std::size_t>(j)]) {
                if (point.piece == Piece::Top) {
                    topHalfWidth = std::max(topHalfWidth, std::abs(point.position.x - d.centreX));
                }
            }
            float middle = std::abs(0.5f * (pointAt(i, j).x + pointAt(i + 1, j).x) - d.centreX) / topHalfWidth;
            if (middle > 0.12f && middle < 0.3f) {
                return &*d.stripe;
            }
        }
        return &d.paint;
    });
    // Flat end plates close the nose and the tail.
    for (int end = 0; end < 2; ++end) {
        int j = end == 0 ? 0 : count - 1;
        glm::vec3 centre(0.0f);
        for (int i = 0; i < around; ++i) {
            centre += pointAt(i, j);
        }
        centre /= float(around);
        shape.useMaterial(d.paint);
        for (int i = 0; i < around; ++i) {
            Shape::Corner c{centre, {0.5f, 0.5f}}, a{pointAt(i, j), {0, 0}}, b{pointAt(i + 1, j), {1, 0}};
            if (end == 0) {
                shape.addTriangle(c, b, a);
            } else {
                shape.addTriangle(c, a, b);
            }
        }
    }
}
