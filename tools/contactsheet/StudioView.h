#pragma once

#include <glm/glm.hpp>

class Camera;
class Shader;

// How one model is shown in one cell: from where the camera looks, and the
// three lights that model it. The lights have no cone and cast no shadow, so
// the lit program's spot and shadow terms drop out.
enum class ViewSide { Front, Side, ThreeQuarterTop };

// Points the camera at the box from the given side, the whole box in view,
// with its own projection for a square cell.
void frameBox(Camera& camera, const glm::vec3& lower, const glm::vec3& upper, ViewSide side);

// Key, fill and back light around the box, plus the sampler units the lit
// program expects; the program must be current.
void setStudioLights(Shader& program, const glm::vec3& lower, const glm::vec3& upper);
