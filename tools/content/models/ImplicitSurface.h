#pragma once

#include "common/Shape.h"

#include <functional>

// Smooth organic shapes as the zero level of a distance-like field (negative
// inside), turned into triangles on a regular grid: one vertex per grid cell
// that the surface crosses, pulled onto the surface, one quad per crossed
// grid edge. Shapes blended this way have no seams for a reflection to show.
namespace implicit {

using Field = std::function<float(const glm::vec3&)>;

// Field building blocks (distances or close to them) and blends.
float sphere(const glm::vec3& p, const glm::vec3& centre, float radius);
float ellipsoid(const glm::vec3& p, const glm::vec3& centre, const glm::vec3& radii);
// A capsule whose radius runs from ra at a to rb at b.
float roundCone(const glm::vec3& p, const glm::vec3& a, const glm::vec3& b, float ra, float rb);
// Union and difference that round off the crease over a width k.
float smoothUnion(float a, float b, float k);
float smoothSubtract(float from, float cut, float k);

// Adds the surface inside the box, lifted so that its lowest point is at
// lowestY. The cell size sets the detail: triangles grow with area / cell^2.
void addSurface(Shape& shape, const Field& field, const glm::vec3& lower, const glm::vec3& upper, float cell,
                float lowestY);

// The first point where the ray enters the surface (the field's zero), for
// placing details on it; the start point if it never does within length.
glm::vec3 rayHit(const Field& field, const glm::vec3& start, const glm::vec3& direction, float length);

} // namespace implicit
