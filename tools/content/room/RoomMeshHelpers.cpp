#include "room/RoomMeshHelpers.h"

namespace room {

namespace {
struct BoxFace {
    glm::vec3 origin, u, v;
};

// Faces of a box, each spanned counter-clockwise as seen from outside
// (the same order and winding as MeshBuilder::addBox).
std::array<BoxFace, 6> boxFaces(const glm::vec3& lo, const glm::vec3& hi)
{
    glm::vec3 s = hi - lo;
    return {{
        {{lo.x, lo.y, hi.z}, {s.x, 0, 0}, {0, s.y, 0}},
        {{hi.x, lo.y, lo.z}, {-s.x, 0, 0}, {0, s.y, 0}},
        {{hi.x, lo.y, hi.z}, {0, 0, -s.z}, {0, s.y, 0}},
        {{lo.x, lo.y, lo.z}, {0, 0, s.z}, {0, s.y, 0}},
        {{lo.x, hi.y, hi.z}, {s.x, 0, 0}, {0, 0, -s.z}},
        {{lo.x, lo.y, lo.z}, {s.x, 0, 0}, {0, 0, s.z}},
    }};
}

int axisOf(const glm::vec3& edge)
{
    return edge.x != 0.0f ? 0 : (edge.y != 0.0f ? 1 : 2);
}
} // namespace

void addRect(MeshBuilder& mesh, const glm::vec3& origin, const glm::vec3& u, const glm::vec3& v,
             const glm::vec2& uvLower, const glm::vec2& uvUpper)
{
    glm::vec3 n = glm::normalize(glm::cross(u, v));
    mesh.addQuad({origin, n, uvLower}, {origin + u, n, {uvUpper.x, uvLower.y}}, {origin + u + v, n, uvUpper},
                 {origin + v, n, {uvLower.x, uvUpper.y}});
}

void addMappedBox(MeshBuilder& mesh, const glm::vec3& lo, const glm::vec3& hi, float scale, const glm::vec2& offset)
{
    glm::vec3 size = hi - lo;
    int longest = size.x >= size.y && size.x >= size.z ? 0 : (size.y >= size.z ? 1 : 2);
    for (const BoxFace& f : boxFaces(lo, hi)) {
        int a = axisOf(f.u), b = axisOf(f.v);
        int uAxis = a, vAxis = b;
        if (a == longest) {
            uAxis = b;
            vAxis = a;
        }
        glm::vec3 n = glm::normalize(glm::cross(f.u, f.v));
        auto vertex = [&](const glm::vec3& p) {
            return MeshBuilder::Vertex{p, n, glm::vec2(p[uAxis], p[vAxis]) * scale + offset};
        };
        mesh.addQuad(vertex(f.origin), vertex(f.origin + f.u), vertex(f.origin + f.u + f.v), vertex(f.origin + f.v));
    }
}

void addAtlasBox(MeshBuilder& mesh, const glm::vec3& lo, const glm::vec3& hi, const std::array<UvRect, 6>& faces,
                 unsigned skipFaces)
{
    std::array<BoxFace, 6> box = boxFaces(lo, hi);
    for (unsigned i = 0; i < 6; ++i) {
        if (skipFaces & (1u << i)) {
            continue;
        }
        addRect(mesh, box[i].origin, box[i].u, box[i].v, faces[i].lower, faces[i].upper);
    }
}

void appendMesh(MeshBuilder& mesh, const MeshBuilder& piece)
{
    for (const MeshBuilder::Group& group : piece.materialGroups()) {
        mesh.useMaterial(group.material);
        for (std::size_t i = 0; i + 2 < group.vertices.size(); i += 3) {
            const MeshBuilder::Vertex &a = group.vertices[i], &b = group.vertices[i + 1], &c = group.vertices[i + 2];
            // Lathes closed at their axis leave triangles without area; they would only cost file size.
            if (glm::length(glm::cross(b.position - a.position, c.position - a.position)) > 1e-7f) {
                mesh.addTriangle(a, b, c);
            }
        }
    }
}

} // namespace room
