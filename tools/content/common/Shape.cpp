#include "common/Shape.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <tuple>

namespace {
// Positions closer than this are one point when normals are averaged; the
// written files round to 1e-5, so nothing finer survives anyway.
constexpr float weldStep = 1e-4f;
constexpr float minimumHeight = 2e-5f;

using PositionKey = std::tuple<std::int64_t, std::int64_t, std::int64_t>;

PositionKey keyOf(const glm::vec3& p)
{
    return {std::llround(p.x / weldStep), std::llround(p.y / weldStep), std::llround(p.z / weldStep)};
}

float cornerAngle(const glm::vec3& at, const glm::vec3& to1, const glm::vec3& to2)
{
    glm::vec3 a = to1 - at, b = to2 - at;
    float la = glm::length(a), lb = glm::length(b);
    if (la <= 0.0f || lb <= 0.0f) {
        return 0.0f;
    }
    return std::acos(glm::clamp(glm::dot(a, b) / (la * lb), -1.0f, 1.0f));
}
} // namespace

void Shape::useMaterial(const Material& material)
{
    for (std::size_t i = 0; i < materials.size(); ++i) {
        if (materials[i].name == material.name) {
            current = i;
            return;
        }
    }
    materials.push_back(material);
    current = materials.size() - 1;
}

void Shape::pushTransform(const glm::mat4& transform)
{
    transforms.push_back(transforms.back() * transform);
}

void Shape::popTransform()
{
    if (transforms.size() > 1) {
        transforms.pop_back();
    }
}

void Shape::setUvRect(const glm::vec2& lower, const glm::vec2& upper)
{
    uvLower = lower;
    uvUpper = upper;
}

void Shape::addTriangle(const Corner& a, const Corner& b, const Corner& c)
{
    if (materials.empty()) {
        Material fallback;
        fallback.name = "default";
        useMaterial(fallback);
    }
    const glm::mat4& m = transforms.back();
    Triangle t{{a, b, c}, current};
    for (Corner& corner : t.corners) {
        corner.position = glm::vec3(m * glm::vec4(corner.position, 1.0f));
        corner.uv = uvLower + (uvUpper - uvLower) * corner.uv;
    }
    const glm::vec3 &p0 = t.corners[0].position, &p1 = t.corners[1].position, &p2 = t.corners[2].position;
    float longest = std::max({glm::length(p1 - p0), glm::length(p2 - p1), glm::length(p0 - p2)});
    // Slivers thinner than the files' rounding would reach an importer as
    // lines or as triangles without a normal: leave them out.
    if (longest <= 0.0f || glm::length(glm::cross(p1 - p0, p2 - p0)) / longest < minimumHeight) {
        return;
    }
    triangles.push_back(t);
}

void Shape::addQuad(const Corner& a, const Corner& b, const Corner& c, const Corner& d)
{
    float ac = glm::length(c.position - a.position), bd = glm::length(d.position - b.position);
    if (ac <= bd) {
        addTriangle(a, b, c);
        addTriangle(a, c, d);
    } else {
        addTriangle(a, b, d);
        addTriangle(b, c, d);
    }
}

void Shape::addGrid(int columns, int rows, const GridPoint& point, const GridMaterial& material)
{
    std::vector<Corner> grid;
    grid.reserve(static_cast<std::size_t>((columns + 1) * (rows + 1)));
    for (int j = 0; j <= rows; ++j) {
        for (int i = 0; i <= columns; ++i) {
            grid.push_back(point(i, j));
        }
    }
    auto at = [&](int i, int j) -> const Corner& { return grid[static_cast<std::size_t>(j * (columns + 1) + i)]; };
    std::size_t before = current;
    for (int j = 0; j < rows; ++j) {
        for (int i = 0; i < columns; ++i) {
            const Material* chosen = material ? material(i, j) : nullptr;
            if (chosen) {
                useMaterial(*chosen);
            }
            addQuad(at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
            current = before;
        }
    }
}

void Shape::emit(MeshBuilder& builder, float creaseDegrees) const
{
    std::vector<glm::vec3> faceNormals;
    faceNormals.reserve(triangles.size());
    std::map<PositionKey, std::vector<std::size_t>> cornersAt; // corner id = triangle * 3 + k
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const Corner* c = triangles[t].corners;
        faceNormals.push_back(glm::normalize(glm::cross(c[1].position - c[0].position, c[2].position - c[0].position)));
        for (std::size_t k = 0; k < 3; ++k) {
            cornersAt[keyOf(c[k].position)].push_back(t * 3 + k);
        }
    }
    // Each face counts with its angle at the shared point, so a fan of thin
    // triangles does not outweigh one broad face.
    auto weightOf = [&](std::size_t id) {
        const Corner* c = triangles[id / 3].corners;
        std::size_t k = id % 3;
        return cornerAngle(c[k].position, c[(k + 1) % 3].position, c[(k + 2) % 3].position);
    };
    float creaseCos = std::cos(glm::radians(creaseDegrees));
    for (std::size_t t = 0; t < triangles.size(); ++t) {
        const Triangle& triangle = triangles[t];
        MeshBuilder::Vertex v[3];
        for (std::size_t k = 0; k < 3; ++k) {
            const Corner& corner = triangle.corners[k];
            glm::vec3 sum(0.0f);
            for (std::size_t other : cornersAt.at(keyOf(corner.position))) {
                const glm::vec3& n = faceNormals[other / 3];
                if (glm::dot(n, faceNormals[t]) >= creaseCos) {
                    sum += n * weightOf(other);
                }
            }
            float length = glm::length(sum);
            v[k] = {corner.position, length > 0.0f ? sum / length : faceNormals[t], corner.uv};
        }
        builder.useMaterial(materials[triangle.material]);
        builder.addTriangle(v[0], v[1], v[2]);
    }
}
