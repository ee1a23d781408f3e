#include "common/Random.h"
#include "room/BookAtlas.h"
#include "room/Furniture.h"
#include "room/RoomMaterials.h"
#include "room/RoomMeshHelpers.h"

#include <glm/gtc/matrix_transform.hpp>

namespace room {

namespace bookAtlas {
std::array<UvRect, 6> bookFaces(int column)
{
    // A small inset keeps texture filtering from bleeding in the neighbouring colour.
    const float u0 = (float(column) + 0.06f) / columns, u1 = (float(column) + 0.94f) / columns;
    const UvRect cover{{u0, coverBottom}, {u1, coverTop}};
    return {{cover, cover, {{u0, 0.0f}, {u1, spineTop}}, cover, {{u0, pagesBottom}, {u1, 1.0f}}, cover}};
}
} // namespace bookAtlas

namespace {
using namespace furniture;

constexpr float woodUv = 1.0f / 20.0f;
constexpr float side = 0.8f;        // side panels and top
constexpr float board = 0.7f;       // shelves
constexpr float backPanel = 0.3f;
constexpr int compartments = 5;
constexpr float spineX = shelfUpper.x - 0.5f; // book spines stand a little behind the shelf's front
constexpr unsigned hiddenFaces = (1u << 3) | (1u << 5); // back and bottom of an upright book

void addCarcass(MeshBuilder& mesh, float bottomBoardTop, float topUnder, float shelfStep)
{
    const glm::vec3 lo = shelfLower, hi = shelfUpper;
    const float innerZ0 = lo.z + side, innerZ1 = hi.z - side;
    addMappedBox(mesh, lo, {hi.x, hi.y, innerZ0}, woodUv);
    addMappedBox(mesh, {lo.x, lo.y, innerZ1}, hi, woodUv, {0.3f, 0.0f});
    addMappedBox(mesh, {lo.x, topUnder, innerZ0}, {hi.x, hi.y, innerZ1}, woodUv);
    addMappedBox(mesh, {lo.x, lo.y, innerZ0}, {lo.x + backPanel, topUnder, innerZ1}, woodUv, {0.5f, 0.2f});
    // Kick board at the foot, then the bottom board and the shelves.
    addMappedBox(mesh, {hi.x - 0.8f, lo.y, innerZ0}, {hi.x - 0.3f, bottomBoardTop - board, innerZ1}, woodUv);
    for (int i = 0; i < compartments; ++i) {
        float top = bottomBoardTop + i * shelfStep;
        addMappedBox(mesh, {lo.x + backPanel, top - board, innerZ0}, {hi.x - 0.2f, top, innerZ1}, woodUv,
                     {0.1f * i, 0.0f});
    }
}

// A row of upright books with now and then a gap or a small stack lying flat.
void addBookRow(MeshBuilder& mesh, Random& random, float floorY, float space, float z0, float z1)
{
    float z = z0 + random.range(0.0f, 0.6f);
    bool stacked = false;
    while (z < z1) {
        if (random.unit() < 0.06f) {
            z += random.range(0.8f, 2.5f);
            continue;
        }
        if (!stacked && z > z0 + 6.0f && random.unit() < 0.12f) {
            // Three or four books lying flat, their spines to the room.
            stacked = true;
            const float length = random.range(4.8f, 5.8f);
            if (z + length > z1) {
                break;
            }
            float y = floorY;
            const int count = 3 + random.below(2);
            for (int i = 0; i < count; ++i) {
                float thick = random.range(0.6f, 1.0f), depth = random.range(3.8f, 4.6f);
                float shrink = random.range(0.0f, 0.6f);
                // Built upright, then laid down so the spine artwork runs along the book.
                glm::vec3 at(spineX - random.range(0.0f, 0.3f), y, z + shrink);
                mesh.pushTransform(glm::translate(glm::mat4(1.0f), at) *
                                   glm::rotate(glm::mat4(1.0f), glm::radians(90.0f), {1, 0, 0}));
                addAtlasBox(mesh, {-depth, 0.0f, -thick}, {0.0f, length - 2.0f * shrink, 0.0f},
                            bookAtlas::bookFaces(random.below(bookAtlas::columns)), 1u << 3);
                mesh.popTransform();
                y += thick;
            }
            z += length + 0.2f;
            continue;
        }
        const float thick = random.range(0.55f, 1.35f);
        if (z + thick > z1) {
            break;
        }
        const float height = space * random.range(0.66f, 0.93f), depth = random.range(3.6f, 5.0f);
        const float front = spineX - random.range(0.0f, 0.35f);
        addAtlasBox(mesh, {front - depth, floorY, z}, {front, floorY + height, z + thick},
                    bookAtlas::bookFaces(random.below(bookAtlas::columns)), hiddenFaces);
        z += thick + random.range(0.0f, 0.06f);
    }
}
} // namespace

MeshBuilder buildBookshelf()
{
    const RoomMaterials& m = roomMaterials();
    MeshBuilder mesh;
    const float bottomBoardTop = shelfLower.y + 2.3f, topUnder = shelfUpper.y - side;
    const float shelfStep = (topUnder - bottomBoardTop + board) / compartments;
    mesh.useMaterial(m.wood);
    addCarcass(mesh, bottomBoardTop, topUnder, shelfStep);

    mesh.useMaterial(m.books);
    Random random(0x5eed600u);
    const float space = shelfStep - board - 0.3f; // clear height above the books
    for (int i = 0; i < compartments; ++i) {
        addBookRow(mesh, random, bottomBoardTop + i * shelfStep, space, shelfLower.z + side + 0.1f,
                   shelfUpper.z - side - 0.1f);
    }
    return mesh;
}

} // namespace room
