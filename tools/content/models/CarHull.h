#pragma once

#include "common/Shape.h"

#include <optional>
#include <vector>

// The painted shell of a toy car, lofted from cross-sections along z (the
// nose at the lowest z). Each section is a rounded box: a flat floor, sides
// that rise straight to the belt line and lean in above it, and a domed top.
struct HullKey {
    float z;
    float halfWidth;
    float bottom;
    float belt;
    float top;
};

// A wheel opening: the floor is lifted over the wheel in a half circle, with
// straight sides down to the floor, across the whole width of the hull.
struct WheelArch {
    float z;
    float y;
    float radius;
};

// A sunken, rounded rectangle in the top: the open cockpit.
struct Cockpit {
    float front;
    float back;
    float halfWidth;
    float depth;
};

struct HullDesign {
    std::vector<HullKey> keys; // nose to tail; shapes between keys are smooth curves
    float centreX = 0.0f;
    float tumblehome = 0.06f;  // how far the sides lean in from belt to top
    float crown = 0.04f;       // how much the top rises from its edges to the middle
    float bottomRadius = 0.05f;
    float topRadius = 0.12f;
    std::vector<WheelArch> arches;
    std::optional<Cockpit> cockpit;
    Material paint;
    Material arch;     // inside the wheel openings
    Material interior; // the cockpit tub
    // Optional racing stripes along the top, either side of the middle.
    std::optional<Material> stripe;
};

void addHull(Shape& shape, const HullDesign& design);
