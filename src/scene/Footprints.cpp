#include "scene/Footprints.h"

bool pointInFootprint(const glm::vec4& p, const Footprint& footprint)
{
    const glm::vec3 a(footprint[0]);
    const glm::vec3 ab = glm::vec3(footprint[1]) - a;
    const glm::vec3 ad = glm::vec3(footprint[3]) - a;
    const glm::vec3 ap = glm::vec3(p) - a;
    const float alongAB = glm::dot(ap, ab);
    const float alongAD = glm::dot(ap, ad);
    return alongAB >= 0.0f && alongAB <= glm::dot(ab, ab) && alongAD >= 0.0f && alongAD <= glm::dot(ad, ad);
}

bool footprintsOverlap(const Footprint& a, const Footprint& b)
{
    for (const glm::vec4& corner : b) {
        if (pointInFootprint(corner, a)) {
            return true;
        }
    }
    for (const glm::vec4& corner : a) {
        if (pointInFootprint(corner, b)) {
            return true;
        }
    }
    return false;
}
