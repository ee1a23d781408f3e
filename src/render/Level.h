#pragma once

#include <glm/glm.hpp>

#include <vector>

class Geometry;

// The static surroundings of a race: the room model, where the cars start
// and where the lights stand. The full room supplies all three; the reduced
// room, drawn only into the environment cube, needs nothing but its model.
class Level {
public:
    // An empty room geometry and no positions; content loading fills them.
    Level();
    virtual ~Level();
    Level(const Level&) = delete;
    Level& operator=(const Level&) = delete;

    // The one material shared by both versions of the room: plain greys with a
    // tight highlight, so the furniture's colours stand out against it.
    void applyRoomMaterial();

    Geometry* const room; // owned, deleted in the destructor
    // Entry 0 is player 1's start, entry 1 player 2's.
    std::vector<glm::vec3> startPositions;
    // In light order: entry i places light i + 1.
    std::vector<glm::vec3> lightPositions;
};
