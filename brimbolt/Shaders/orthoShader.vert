#version 330 core

// Flat overlay quads: positions are already in normalized device
// coordinates; modelMatrix only slides a glyph into its row and column.
// The locations follow the project's attribute numbering, although the
// overlay asks for them by name.
layout(location = 0) in vec2 in_position;
layout(location = 3) in vec2 in_texCoords;

uniform mat4 modelMatrix;

out vec2 texCoords;

void main()
{
    texCoords = in_texCoords;
    gl_Position = modelMatrix * vec4(in_position, 0.0, 1.0);
}
