#include "render/Level.h"

#include "render/Geometry.h"

namespace {

const glm::vec3 roomDiffuse(0.6f);
const glm::vec3 roomSpecular(0.3f);
const glm::vec3 roomAmbient(0.1f);
constexpr float roomShininess = 150.0f;

} // namespace

Level::Level()
    : room(new Geometry())
{
}

Level::~Level()
{
    delete room;
}

void Level::applyRoomMaterial()
{
    room->materialColors[Geometry::diffuseColor] = roomDiffuse;
    room->materialColors[Geometry::specularColor] = roomSpecular;
    room->materialColors[Geometry::ambientColor] = roomAmbient;
    room->shininess = roomShininess;
}
