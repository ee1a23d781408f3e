#include "room/RoomMaterials.h"

namespace room {

namespace {
Material textured(const char* name, const char* texture, float specular, float shininess)
{
    Material m;
    m.name = name;
    m.diffuse = glm::vec3(1.0f);
    m.specular = glm::vec3(specular);
    m.shininess = shininess;
    m.diffuseTexture = texture;
    return m;
}

Material plain(const char* name, const glm::vec3& colour, float specular, float shininess)
{
    Material m;
    m.name = name;
    m.diffuse = colour;
    m.specular = glm::vec3(specular);
    m.shininess = shininess;
    return m;
}
} // namespace

const RoomMaterials& roomMaterials()
{
    static const RoomMaterials materials{
        textured("room_floor", textures::floor, 0.3f, 80.0f),
        textured("room_wall", textures::wall, 0.05f, 10.0f),
        textured("room_ceiling", textures::ceiling, 0.05f, 10.0f),
        plain("room_paint", {0.93f, 0.92f, 0.88f}, 0.2f, 40.0f),
        textured("room_door", textures::door, 0.2f, 60.0f),
        plain("room_brass", {0.86f, 0.68f, 0.32f}, 0.8f, 120.0f),
        textured("room_window", textures::window, 0.5f, 200.0f),
        textured("room_rug", textures::rug, 0.02f, 5.0f),
        textured("room_sofa", textures::sofa, 0.05f, 8.0f),
        textured("room_cushion", textures::curtain, 0.05f, 8.0f),
        textured("room_wood", textures::wood, 0.3f, 80.0f),
        textured("room_books", textures::books, 0.1f, 20.0f),
        textured("room_shade", textures::linen, 0.05f, 8.0f),
        plain("room_bulb", {1.0f, 0.96f, 0.82f}, 0.0f, 1.0f),
        textured("room_curtain", textures::curtain, 0.05f, 8.0f),
        textured("room_painting_hills", textures::hills, 0.1f, 20.0f),
        textured("room_painting_sea", textures::sea, 0.1f, 20.0f),
    };
    return materials;
}

} // namespace room
