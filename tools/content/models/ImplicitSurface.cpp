#include "models/ImplicitSurface.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace implicit {

float sphere(const glm::vec3& p, const glm::vec3& centre, float radius)
{
    return glm::length(p - centre) - radius;
}

float ellipsoid(const glm::vec3& p, const glm::vec3& centre, const glm::vec3& radii)
{
    // Scaled so that near the surface it reads like a distance.
    glm::vec3 q = (p - centre) / radii;
    float smallest = std::min({radii.x, radii.y, radii.z});
    return (glm::length(q) - 1.0f) * smallest;
}

float roundCone(const glm::vec3& p, const glm::vec3& a, const glm::vec3& b, float ra, float rb)
{
    glm::vec3 ab = b - a;
    float t = glm::clamp(glm::dot(p - a, ab) / glm::dot(ab, ab), 0.0f, 1.0f);
    return glm::length(p - (a + ab * t)) - glm::mix(ra, rb, t);
}

float smoothUnion(float a, float b, float k)
{
    float h = std::max(k - std::abs(a - b), 0.0f) / k;
    return std::min(a, b) - h * h * k * 0.25f;
}

float smoothSubtract(float from, float cut, float k)
{
    return -smoothUnion(-from, cut, k);
}

namespace {
glm::vec3 gradient(const Field& field, const glm::vec3& p, float h)
{
    return glm::vec3(field(p + glm::vec3(h, 0, 0)) - field(p - glm::vec3(h, 0, 0)),
                     field(p + glm::vec3(0, h, 0)) - field(p - glm::vec3(0, h, 0)),
                     field(p + glm::vec3(0, 0, h)) - field(p - glm::vec3(0, 0, h))) /
           (2.0f * h);
}

glm::vec3 pullOntoSurface(const Field& field, glm::vec3 p, float cell)
{
    for (int step = 0; step < 4; ++step) {
        float value = field(p);
        glm::vec3 g = gradient(field, p, cell * 0.05f);
        float g2 = glm::dot(g, g);
        if (g2 < 1e-12f) {
            break;
        }
        glm::vec3 move = g * (value / g2);
        // A short leash: the cell's own corners bound where its vertex may go.
        float length = glm::length(move);
        if (length > cell) {
            move *= cell / length;
        }
        p -= move;
    }
    return p;
}
} // namespace

void addSurface(Shape& shape, const Field& field, const glm::vec3& lower, const glm::vec3& upper, float cell,
                float lowestY)
{
    glm::ivec3 n = glm::ivec3(glm::ceil((upper - lower) / cell));
    auto cornerIndex = [&](int i, int j, int k) { return (std::size_t(k) * (n.y + 1) + j) * (n.x + 1) + i; };
    auto cellIndex = [&](int i, int j, int k) { return (std::size_t(k) * n.y + j) * n.x + i; };
    auto cornerAt = [&](int i, int j, int k) { return lower + glm::vec3(i, j, k) * cell; };

    std::vector<float> values(std::size_t(n.x + 1) * (n.y + 1) * (n.z + 1));
    for (int k = 0; k <= n.z; ++k) {
        for (int j = 0; j <= n.y; ++j) {
            for (int i = 0; i <= n.x; ++i) {
                values[cornerIndex(i, j, k)] = field(cornerAt(i, j, k));
            }
        }
    }

    // One vertex per crossed cell: the mean of its edge crossings, then pulled in.
    std::vector<int> vertexOfCell(std::size_t(n.x) * n.y * n.z, -1);
    std::vector<glm::vec3> vertices;
    const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3}, {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (int k = 0; k < n.z; ++k) {
        for (int j = 0; j < n.y; ++j) {
            for (int i = 0; i < n.x; ++i) {
                float v[8];
                glm::vec3 p[8];
                bool inside = false, outside = false;
                for (int c = 0; c < 8; ++c) {
                    int ci = i + (c & 1), cj = j + ((c >> 1) & 1), ck = k + ((c >> 2) & 1);
                    v[c] = values[cornerIndex(ci, cj, ck)];
                    p[c] = cornerAt(ci, cj, ck);
                    (v[c] < 0.0f ? inside : outside) = true;
                }
                if (!inside || !outside) {
                    continue;
                }
                glm::vec3 sum(0.0f);
                int count = 0;
                for (const auto& e : edges) {
                    float a = v[e[0]], b = v[e[1]];
                    if ((a < 0.0f) != (b < 0.0f)) {
                        sum += glm::mix(p[e[0]], p[e[1]], a / (a - b));
                        ++count;
                    }
                }
                vertexOfCell[cellIndex(i, j, k)] = static_cast<int>(vertices.size());
                vertices.push_back(pullOntoSurface(field, sum / float(count), cell));
            }
        }
    }
    float minY = std::numeric_limits<float>::max();
    for (const glm::vec3& v : vertices) {
        minY = std::min(minY, v.y);
    }
    for (glm::vec3& v : vertices) {
        v.y += lowestY - minY;
    }

    // One quad per crossed grid edge, from the four cells around it, turned
    // so that it faces from the inside corner towards the outside one.
    auto emitQuad = [&](const int cells[4][3], bool startInside) {
        int ids[4];
        for (int c = 0; c < 4; ++c) {
            const int* q = cells[c];
            if (q[0] < 0 || q[1] < 0 || q[2] < 0 || q[0] >= n.x || q[1] >= n.y || q[2] >= n.z) {
                return;
            }
            ids[c] = vertexOfCell[cellIndex(q[0], q[1], q[2])];
            if (ids[c] < 0) {
                return;
            }
        }
        Shape::Corner c[4];
        for (int m = 0; m < 4; ++m) {
            c[m] = {vertices[std::size_t(ids[startInside ? m : 3 - m])], {0.0f, 0.0f}};
        }
        shape.addQuad(c[0], c[1], c[2], c[3]);
    };
    for (int k = 0; k <= n.z; ++k) {
        for (int j = 0; j <= n.y; ++j) {
            for (int i = 0; i <= n.x; ++i) {
                bool here = values[cornerIndex(i, j, k)] < 0.0f;
                if (i < n.x && here != (values[cornerIndex(i + 1, j, k)] < 0.0f)) {
                    const int cells[4][3] = {{i, j - 1, k - 1}, {i, j, k - 1}, {i, j, k}, {i, j - 1, k}};
                    emitQuad(cells, here);
                }
                if (j < n.y && here != (values[cornerIndex(i, j + 1, k)] < 0.0f)) {
                    const int cells[4][3] = {{i - 1, j, k - 1}, {i - 1, j, k}, {i, j, k}, {i, j, k - 1}};
                    emitQuad(cells, here);
                }
                if (k < n.z && here != (values[cornerIndex(i, j, k + 1)] < 0.0f)) {
                    const int cells[4][3] = {{i - 1, j - 1, k}, {i, j - 1, k}, {i, j, k}, {i - 1, j, k}};
                    emitQuad(cells, here);
                }
            }
        }
    }
}

glm::vec3 rayHit(const Field& field, const glm::vec3& start, const glm::vec3& direction, float length)
{
    glm::vec3 dir = glm::normalize(direction);
    constexpr float step = 0.005f;
    for (float t = 0.0f; t < length; t += step) {
        if (field(start + dir * t) < 0.0f) {
            return start + dir * t;
        }
    }
    return start;
}

} // namespace implicit
