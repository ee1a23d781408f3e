#include "room/LayoutCheck.h"

#include <cmath>
#include <cstdio>
#include <vector>

namespace room {

namespace {
// A car is about 3 long, so a course point needs this much free floor round it.
constexpr float clearance = 3.0f;
// Things higher than this cannot be in a car's or a stone's way.
constexpr float courseHeight = 20.0f;

std::vector<glm::vec2> coursePoints()
{
    std::vector<glm::vec2> points;
    auto add = [&](const glm::vec3& p) { points.emplace_back(p.x, p.z); };
    for (const glm::vec3& start : roomLayout::carStarts) {
        add(start);
    }
    for (const glm::vec3& stone : roomLayout::stonePositions) {
        add(stone);
    }
    for (const roomLayout::Placement& piece :
         {roomLayout::pig, roomLayout::torus, roomLayout::plane, roomLayout::reliefArmadillo,
          roomLayout::plainArmadillo}) {
        add(piece.position);
    }
    return points;
}

bool boxesOverlap(const glm::vec3& aLow, const glm::vec3& aHigh, const glm::vec3& bLow, const glm::vec3& bHigh)
{
    return aLow.x < bHigh.x && aHigh.x > bLow.x && aLow.y < bHigh.y && aHigh.y > bLow.y && aLow.z < bHigh.z &&
           aHigh.z > bLow.z;
}

bool isBigSurface(const std::string& material)
{
    for (const char* name : {"room_floor", "room_wall", "room_ceiling", "room_rug", "room_door", "room_window"}) {
        if (material == name) {
            return true;
        }
    }
    return false;
}
} // namespace

bool checkPiece(const std::string& name, const MeshBuilder& piece, const layout::Area& area)
{
    const glm::vec3 lo = piece.lowerBound(), hi = piece.upperBound();
    std::printf("  %-10s x %7.2f .. %6.2f  y %6.3f .. %6.3f  z %7.2f .. %6.2f  (%zu triangles)\n", name.c_str(), lo.x,
                hi.x, lo.y, hi.y, lo.z, hi.z, piece.triangleCount());
    bool ok = true;
    if (lo.x < area.lower.x || hi.x > area.upper.x || lo.z < area.lower.y || hi.z > area.upper.y) {
        std::fprintf(stderr, "Room: the %s leaves its area x %.1f .. %.1f, z %.1f .. %.1f\n", name.c_str(),
                     area.lower.x, area.upper.x, area.lower.y, area.upper.y);
        ok = false;
    }
    if (lo.y < layout::floorTop - 1e-4f) {
        std::fprintf(stderr, "Room: the %s reaches below the floor\n", name.c_str());
        ok = false;
    }
    // Something lying flat on the floor (the rug) may lie under the course.
    const bool flat = hi.y <= layout::rugTop + 1e-4f;
    for (const glm::vec2& p : flat ? std::vector<glm::vec2>{} : coursePoints()) {
        glm::vec3 pLow(p.x - clearance, layout::floorTop, p.y - clearance);
        glm::vec3 pHigh(p.x + clearance, layout::floorTop + courseHeight, p.y + clearance);
        if (boxesOverlap(lo, hi, pLow, pHigh)) {
            std::fprintf(stderr, "Room: the %s stands on the course at (%.1f, %.1f)\n", name.c_str(), p.x, p.y);
            ok = false;
        }
    }
    if (boxesOverlap(lo, hi, layout::stoneWallLower, layout::stoneWallUpper)) {
        std::fprintf(stderr, "Room: the %s overlaps the stone wall\n", name.c_str());
        ok = false;
    }
    return ok;
}

bool checkClearOfCourse(const std::string& name, const MeshBuilder& mesh)
{
    const std::vector<glm::vec2> points = coursePoints();
    for (const MeshBuilder::Group& group : mesh.materialGroups()) {
        for (const MeshBuilder::Vertex& v : group.vertices) {
            const glm::vec3& q = v.position;
            for (const glm::vec2& p : points) {
                if (std::fabs(q.x - p.x) < clearance && std::fabs(q.z - p.y) < clearance &&
                    q.y < layout::floorTop + courseHeight && q.y > layout::rugTop + 1e-4f) {
                    std::fprintf(stderr, "Room: %s (%s) reaches the course at (%.1f, %.1f)\n", name.c_str(),
                                 group.material.name.c_str(), p.x, p.y);
                    return false;
                }
            }
            if (boxesOverlap(q, q, layout::stoneWallLower, layout::stoneWallUpper)) {
                std::fprintf(stderr, "Room: %s (%s) reaches into the stone wall\n", name.c_str(),
                             group.material.name.c_str());
                return false;
            }
        }
    }
    return true;
}

bool checkFacing(const std::string& name, const MeshBuilder& mesh)
{
    const glm::vec3 middle = 0.5f * (layout::roomLower + layout::roomUpper);
    std::size_t badWinding = 0, facingOut = 0;
    for (const MeshBuilder::Group& group : mesh.materialGroups()) {
        const bool big = isBigSurface(group.material.name);
        for (std::size_t i = 0; i + 2 < group.vertices.size(); i += 3) {
            const MeshBuilder::Vertex &a = group.vertices[i], &b = group.vertices[i + 1], &c = group.vertices[i + 2];
            glm::vec3 n = glm::cross(b.position - a.position, c.position - a.position);
            if (glm::length(n) < 1e-8f) {
                continue; // the pole of a lathe: no area, nothing drawn
            }
            if (glm::dot(n, a.normal + b.normal + c.normal) <= 0.0f) {
                ++badWinding;
            }
            glm::vec3 centroid = (a.position + b.position + c.position) / 3.0f;
            if (big && glm::dot(n, middle - centroid) <= 0.0f) {
                ++facingOut;
            }
        }
    }
    if (badWinding || facingOut) {
        std::fprintf(stderr, "Room: %s has %zu triangles wound against their normals and %zu facing out\n",
                     name.c_str(), badWinding, facingOut);
        return false;
    }
    return true;
}

} // namespace room
