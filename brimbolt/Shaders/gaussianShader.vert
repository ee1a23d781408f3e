#version 330 core

// Full-screen quad for the separable blur of a light's variance shadow map.
// Locations as in every geometry program: position 0, texture coordinates 3.
layout(location = 0) in vec2 in_position;
layout(location = 3) in vec2 in_texCoords;

out vec2 texCoords;

void main()
{
    texCoords = in_texCoords;
    gl_Position = vec4(in_position, 0.0, 1.0);
}
