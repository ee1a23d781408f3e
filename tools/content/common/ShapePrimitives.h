#pragma once

#include "common/Shape.h"

#include <glm/glm.hpp>
#include <glm/gtc/constants.hpp>

#include <vector>

// Building blocks for the models, all added to a Shape through its transform
// stack. Texture coordinates run 0..1 over each primitive's own parameters.
namespace primitives {

// Surface of revolution around +y from a profile of (radius, height) points;
// a profile running outward along the bottom, up and back in faces outward.
// A partial sweep (angle1 - angle0 < 2 pi, radians from +z towards +x) closes
// both ends with flat caps, which suits a closed convex profile.
void addLathe(Shape& shape, const std::vector<glm::vec2>& profile, int segments, float angle0 = 0.0f,
              float angle1 = glm::two_pi<float>());

// Superellipsoid: exponent 2 is an ellipsoid, larger values flatten towards a
// box with rounded edges (around is the exponent in x-z, upright in y).
void addBlob(Shape& shape, const glm::vec3& centre, const glm::vec3& radii, int columns, int rows,
             float aroundExponent = 2.0f, float uprightExponent = 2.0f);

// Axis-aligned box with flat faces.
void addBox(Shape& shape, const glm::vec3& lower, const glm::vec3& upper);

// A tube along a path with an elliptical section per path point (half-axes
// along the frame's normal and binormal). The frame is carried along the path
// without twisting, starting with the normal nearest to up.
struct TubeRing {
    glm::vec3 centre;
    glm::vec2 radii;
};
void addTube(Shape& shape, const std::vector<TubeRing>& rings, int sides, const glm::vec3& up, bool capStart,
             bool capEnd);
// The same with one round radius for the whole path.
void addTube(Shape& shape, const std::vector<glm::vec3>& path, float radius, int sides, bool capStart = true,
             bool capEnd = true);

// A polyline whose inner corners are replaced by curves of about the given
// radius, for bent bars and pipes.
std::vector<glm::vec3> roundCorners(const std::vector<glm::vec3>& points, float radius, int steps);

// A point on a Catmull-Rom curve through the points, t in 0..1 over all of it.
glm::vec3 curvePoint(const std::vector<glm::vec3>& points, float t);

} // namespace primitives
