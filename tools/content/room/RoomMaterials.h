#pragma once

#include "common/MeshBuilder.h"

namespace room {

// Texture file names, written by the room's texture makers and named by map_Kd.
namespace textures {
constexpr const char* floor = "room_floor.jpg";
constexpr const char* wood = "room_wood.jpg";
constexpr const char* wall = "room_wall.jpg";
constexpr const char* ceiling = "room_ceiling.jpg";
constexpr const char* door = "room_door.jpg";
constexpr const char* window = "room_window.png";
constexpr const char* rug = "room_rug.png";
constexpr const char* sofa = "room_sofa.jpg";
constexpr const char* linen = "room_linen.jpg";
constexpr const char* curtain = "room_curtain.jpg";
constexpr const char* books = "room_books.png";
constexpr const char* hills = "room_painting_hills.jpg";
constexpr const char* sea = "room_painting_sea.jpg";
} // namespace textures

// Every material of the two room models. Textured ones have a white diffuse
// colour because the renderer multiplies the texture by it per vertex.
struct RoomMaterials {
    Material floor;
    Material wall;
    Material ceiling;
    Material paint; // skirting, cornice, casings, frames
    Material door;
    Material brass;
    Material window;
    Material rug;
    Material sofa;
    Material cushion;
    Material wood;
    Material books;
    Material shade;
    Material bulb;
    Material curtain;
    Material hillsPainting;
    Material seaPainting;
};

const RoomMaterials& roomMaterials();

} // namespace room
