#pragma once

#include "common/Material.h"
#include "common/MeshBuilder.h"

#include <glm/glm.hpp>

#include <filesystem>

// The pieces this generator makes, each built in its own file. Model space
// is what the program places: see the placement beside each.
MeshBuilder buildRoadster();    // player 1's car, wheels at (+-0.7, -0.2, -1.3 / 0.6)
MeshBuilder buildBuggy();       // player 2's car, wheels at (-0.9 / 0.7, -0.5, +-1.3)
MeshBuilder buildTyre();        // one wheel round the x axis, radius 0.41
MeshBuilder buildPig();         // feet at y = 0
MeshBuilder buildArmadillo();   // feet at y = 0, about 1 tall, with its relief unwrap
MeshBuilder buildTorus();       // at (-20, 3, 20), turned and halved
MeshBuilder buildStoneWall();   // in world coordinates
MeshBuilder buildAeroplane();   // wheels at y = -0.7
MeshBuilder buildPedestal();    // from y = -0.1 to 0.25
MeshBuilder buildGem(const glm::vec3& colour, const char* name, int facets);

// The armadillo's normal and height maps, "sampledNormals.jpg" and
// "sampledDisplacement.jpg", for the texture coordinates buildArmadillo gives.
bool bakeArmadilloRelief(const std::filesystem::path& textureDir);
