#pragma once

#include <glm/glm.hpp>

#include <string>
#include <vector>

// One line of text on the screen: where its first letter's top left corner
// stands, in window pixels from the window's top left, and how tall its
// letters are.
struct TextLine {
    std::string text;
    glm::vec2 topLeft{0.0f};
    float height = 16.0f; // pixels; letters are 0.6 of it wide
    glm::vec4 colour{1.0f};
};

// The triangles of a line: two per character, six vertices each, with
// positions in normalized device coordinates and texture coordinates in the
// "glyphs" picture. Characters outside the picture show as a space.
struct TextTriangles {
    std::vector<float> positions; // x, y per vertex
    std::vector<float> texCoords; // u, v per vertex
};
TextTriangles layoutText(const TextLine& line, glm::ivec2 windowSize);
