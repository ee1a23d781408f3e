#pragma once

#include <glm/glm.hpp>

#include <string>

// A material as the model files carry it: the program takes the diffuse
// colour per vertex and the diffuse texture, if any, by name.
struct Material {
    std::string name;
    glm::vec3 diffuse{0.8f};
    glm::vec3 specular{0.2f};
    glm::vec3 ambient{0.1f};
    float shininess = 50.0f;
    std::string diffuseTexture; // file name in the texture folder, empty for none
};

// An untextured colour for the show pieces and cars. Ambient follows the
// colour, so a piece in shadow keeps its hue instead of turning grey.
Material makeMaterial(const char* name, const glm::vec3& diffuse, float specular = 0.3f, float shininess = 60.0f);
