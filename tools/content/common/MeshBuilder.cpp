#include "common/MeshBuilder.h"

#include <glm/gtc/constants.hpp>

#include <cstdio>
#include <limits>

namespace {
constexpr float tau = glm::two_pi<float>();

glm::vec3 faceNormal(const glm::vec3& a, const glm::vec3& b, const glm::vec3& c)
{
    glm::vec3 n = glm::cross(b - a, c - a);
    float length = glm::length(n);
    return length > 0.0f ? n / length : glm::vec3(0.0f, 1.0f, 0.0f);
}
} // namespace

void MeshBuilder::useMaterial(const Material& material)
{
    for (std::size_t i = 0; i < groups.size(); ++i) {
        if (groups[i].material.name == material.name) {
            current = i;
            return;
        }
    }
    groups.push_back(Group{material, {}});
    current = groups.size() - 1;
}

MeshBuilder::Group& MeshBuilder::currentGroup()
{
    if (groups.empty()) {
        Material fallback;
        fallback.name = "default";
        useMaterial(fallback);
    }
    return groups[current];
}

void MeshBuilder::pushTransform(const glm::mat4& transform)
{
    transforms.push_back(transforms.back() * transform);
}

void MeshBuilder::popTransform()
{
    if (transforms.size() > 1) {
        transforms.pop_back();
    }
}

MeshBuilder::Vertex MeshBuilder::place(const Vertex& v) const
{
    const glm::mat4& m = transforms.back();
    glm::mat3 normalMatrix = glm::transpose(glm::inverse(glm::mat3(m)));
    Vertex out = v;
    out.position = glm::vec3(m * glm::vec4(v.position, 1.0f));
    glm::vec3 n = normalMatrix * v.normal;
    float length = glm::length(n);
    out.normal = length > 0.0f ? n / length : n;
    return out;
}

void MeshBuilder::addTriangle(const Vertex& a, const Vertex& b, const Vertex& c)
{
    Vertex pa = place(a), pb = place(b), pc = place(c);
    glm::vec3 flat = faceNormal(pa.position, pb.position, pc.position);
    for (Vertex* v : {&pa, &pb, &pc}) {
        if (glm::length(v->normal) == 0.0f) {
            v->normal = flat;
        }
    }
    Group& group = currentGroup();
    group.vertices.push_back(pa);
    group.vertices.push_back(pb);
    group.vertices.push_back(pc);
}

void MeshBuilder::addQuad(const Vertex& a, const Vertex& b, const Vertex& c, const Vertex& d)
{
    addTriangle(a, b, c);
    addTriangle(a, c, d);
}

void MeshBuilder::addBox(const glm::vec3& lo, const glm::vec3& hi, float uvScale, bool inward)
{
    // Each face: origin corner, two edge directions (u, v) spanning it counter-clockwise from outside.
    struct Face {
        glm::vec3 origin, u, v;
    };
    glm::vec3 size = hi - lo;
    const Face faces[] = {
        {{lo.x, lo.y, hi.z}, {size.x, 0, 0}, {0, size.y, 0}},  // +z
        {{hi.x, lo.y, lo.z}, {-size.x, 0, 0}, {0, size.y, 0}}, // -z
        {{hi.x, lo.y, hi.z}, {0, 0, -size.z}, {0, size.y, 0}}, // +x
        {{lo.x, lo.y, lo.z}, {0, 0, size.z}, {0, size.y, 0}},  // -x
        {{lo.x, hi.y, hi.z}, {size.x, 0, 0}, {0, 0, -size.z}}, // +y
        {{lo.x, lo.y, lo.z}, {size.x, 0, 0}, {0, 0, size.z}},  // -y
    };
    for (const Face& f : faces) {
        glm::vec3 n = glm::normalize(glm::cross(f.u, f.v));
        float du = glm::length(f.u) * uvScale, dv = glm::length(f.v) * uvScale;
        Vertex a{f.origin, n, {0, 0}}, b{f.origin + f.u, n, {du, 0}}, c{f.origin + f.u + f.v, n, {du, dv}},
            d{f.origin + f.v, n, {0, dv}};
        if (inward) {
            for (Vertex* v : {&a, &b, &c, &d}) {
                v->normal = -n;
            }
            addQuad(a, d, c, b);
        } else {
            addQuad(a, b, c, d);
        }
    }
}

void MeshBuilder::addCylinder(const glm::vec3& base, float radius, float height, int segments, bool caps,
                              float uvScale)
{
    float circumference = tau * radius;
    for (int i = 0; i < segments; ++i) {
        float a0 = tau * i / segments, a1 = tau * (i + 1) / segments;
        glm::vec3 d0(std::sin(a0), 0, std::cos(a0)), d1(std::sin(a1), 0, std::cos(a1));
        float u0 = circumference * uvScale * i / segments, u1 = circumference * uvScale * (i + 1) / segments;
        glm::vec3 up(0, height, 0);
        addQuad({base + d0 * radius, d0, {u0, 0}}, {base + d1 * radius, d1, {u1, 0}},
                {base + d1 * radius + up, d1, {u1, height * uvScale}},
                {base + d0 * radius + up, d0, {u0, height * uvScale}});
        if (caps) {
            glm::vec2 c(0.5f);
            addTriangle({base + up, {0, 1, 0}, c}, {base + d0 * radius + up, {0, 1, 0}, c + 0.5f * glm::vec2(d0.x, d0.z)},
                        {base + d1 * radius + up, {0, 1, 0}, c + 0.5f * glm::vec2(d1.x, d1.z)});
            addTriangle({base, {0, -1, 0}, c}, {base + d1 * radius, {0, -1, 0}, c + 0.5f * glm::vec2(d1.x, d1.z)},
                        {base + d0 * radius, {0, -1, 0}, c + 0.5f * glm::vec2(d0.x, d0.z)});
        }
    }
}

void MeshBuilder::addEllipsoid(const glm::vec3& centre, const glm::vec3& radii, int segments, int rings)
{
    auto point = [&](int i, int j) {
        float theta = glm::pi<float>() * j / rings; // from the top pole
        float phi = tau * i / segments;
        glm::vec3 unit(std::sin(theta) * std::sin(phi), std::cos(theta), std::sin(theta) * std::cos(phi));
        Vertex v;
        v.position = centre + unit * radii;
        v.normal = glm::normalize(unit / radii);
        v.uv = {float(i) / segments, 1.0f - float(j) / rings};
        return v;
    };
    for (int j = 0; j < rings; ++j) {
        for (int i = 0; i < segments; ++i) {
            Vertex a = point(i, j), b = point(i, j + 1), c = point(i + 1, j + 1), d = point(i + 1, j);
            if (j > 0) {
                addTriangle(a, b, d);
            }
            if (j < rings - 1) {
                addTriangle(b, c, d);
            }
        }
    }
}

void MeshBuilder::addTorus(const glm::vec3& centre, float ringRadius, float tubeRadius, int segments, int sides)
{
    auto point = [&](int i, int j) {
        float phi = tau * i / segments, theta = tau * j / sides;
        glm::vec3 ring(std::sin(phi), 0, std::cos(phi));
        glm::vec3 normal = ring * std::cos(theta) + glm::vec3(0, std::sin(theta), 0);
        Vertex v;
        v.position = centre + ring * ringRadius + normal * tubeRadius;
        v.normal = normal;
        v.uv = {4.0f * i / segments, float(j) / sides};
        return v;
    };
    for (int i = 0; i < segments; ++i) {
        for (int j = 0; j < sides; ++j) {
            addQuad(point(i, j), point(i + 1, j), point(i + 1, j + 1), point(i, j + 1));
        }
    }
}

void MeshBuilder::addLathe(const glm::vec3& base, const std::vector<glm::vec2>& profile, int segments)
{
    for (std::size_t k = 0; k + 1 < profile.size(); ++k) {
        glm::vec2 p0 = profile[k], p1 = profile[k + 1];
        glm::vec2 edge = p1 - p0;
        glm::vec2 outward = glm::length(edge) > 0 ? glm::normalize(glm::vec2(edge.y, -edge.x)) : glm::vec2(1, 0);
        for (int i = 0; i < segments; ++i) {
            float a0 = tau * i / segments, a1 = tau * (i + 1) / segments;
            glm::vec3 d0(std::sin(a0), 0, std::cos(a0)), d1(std::sin(a1), 0, std::cos(a1));
            auto vertex = [&](const glm::vec3& d, const glm::vec2& p, float u, float v) {
                return Vertex{base + d * p.x + glm::vec3(0, p.y, 0),
                              glm::normalize(d * outward.x + glm::vec3(0, outward.y, 0)), {u, v}};
            };
            float u0 = float(i) / segments, u1 = float(i + 1) / segments;
            float v0 = float(k) / (profile.size() - 1), v1 = float(k + 1) / (profile.size() - 1);
            addQuad(vertex(d0, p0, u0, v0), vertex(d1, p0, u1, v0), vertex(d1, p1, u1, v1), vertex(d0, p1, u0, v1));
        }
    }
}

std::size_t MeshBuilder::triangleCount() const
{
    std::size_t count = 0;
    for (const Group& group : groups) {
        count += group.vertices.size() / 3;
    }
    return count;
}

glm::vec3 MeshBuilder::lowerBound() const
{
    glm::vec3 lower(std::numeric_limits<float>::max());
    for (const Group& group : groups) {
        for (const Vertex& v : group.vertices) {
            lower = glm::min(lower, v.position);
        }
    }
    return lower;
}

glm::vec3 MeshBuilder::upperBound() const
{
    glm::vec3 upper(std::numeric_limits<float>::lowest());
    for (const Group& group : groups) {
        for (const Vertex& v : group.vertices) {
            upper = glm::max(upper, v.position);
        }
    }
    return upper;
}

bool MeshBuilder::writeObj(const std::filesystem::path& dir, const std::string& name) const
{
    std::filesystem::path objPath = dir / (name + ".obj");
    std::filesystem::path mtlPath = dir / (name + ".mtl");
    FILE* mtl = std::fopen(mtlPath.c_str(), "wb");
    FILE* obj = mtl ? std::fopen(objPath.c_str(), "wb") : nullptr;
    if (!obj) {
        std::fprintf(stderr, "Cannot write '%s'\n", (mtl ? objPath : mtlPath).c_str());
        if (mtl) {
            std::fclose(mtl);
        }
        return false;
    }
    for (const Group& group : groups) {
        const Material& m = group.material;
        std::fprintf(mtl, "newmtl %s\nKd %.4f %.4f %.4f\nKs %.4f %.4f %.4f\nKa %.4f %.4f %.4f\nNs %.1f\n",
                     m.name.c_str(), m.diffuse.r, m.diffuse.g, m.diffuse.b, m.specular.r, m.specular.g,
                     m.specular.b, m.ambient.r, m.ambient.g, m.ambient.b, m.shininess);
        if (!m.diffuseTexture.empty()) {
            std::fprintf(mtl, "map_Kd %s\n", m.diffuseTexture.c_str());
        }
        std::fprintf(mtl, "\n");
    }
    std::fprintf(obj, "# Brimbolt content generator\nmtllib %s.mtl\n", name.c_str());
    std::size_t base = 1;
    for (const Group& group : groups) {
        std::fprintf(obj, "o %s\nusemtl %s\n", group.material.name.c_str(), group.material.name.c_str());
        for (const Vertex& v : group.vertices) {
            std::fprintf(obj, "v %.5f %.5f %.5f\nvt %.5f %.5f\nvn %.5f %.5f %.5f\n", v.position.x, v.position.y,
                         v.position.z, v.uv.x, v.uv.y, v.normal.x, v.normal.y, v.normal.z);
        }
        for (std::size_t i = 0; i < group.vertices.size(); i += 3) {
            std::size_t a = base + i, b = a + 1, c = a + 2;
            std::fprintf(obj, "f %zu/%zu/%zu %zu/%zu/%zu %zu/%zu/%zu\n", a, a, a, b, b, b, c, c, c);
        }
        base += group.vertices.size();
    }
    bool ok = std::ferror(obj) == 0 && std::ferror(mtl) == 0;
    ok = std::fclose(obj) == 0 && ok;
    ok = std::fclose(mtl) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "Cannot write '%s'\n", objPath.c_str());
    }
    return ok;
}
