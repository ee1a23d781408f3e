#version 330 core

// Full-screen quad for the separable blur of a light's variance shadow map.
// Locations as in every geometry program: position 0, texture coordinates 3.
layout(location = 0) in vec2 in_position;
layout(location = 3) in vec2 in_texCoords;

// Half the width of the octagon this pass fills, in the quad's [-1, 1]
// units. Outside a spot light's cone the lit programs weigh its shadow by
// zero, so the light sets it to the cone's reach on the map plus a margin,
// and the clipper drops the rest of the map before any fragment runs; above
// the square root of 2 nothing is clipped.
uniform float coneReach;

out vec2 texCoords;
// Eight planes round the cone: their octagon keeps 5 % of the map beyond the
// cone's disc where a scissor box round it would keep 21 %.
out float gl_ClipDistance[8];

void main()
{
    texCoords = in_texCoords;
    for (int i = 0; i < 8; ++i) {
        float angle = float(i) * 0.785398163;
        gl_ClipDistance[i] = coneReach - dot(in_position, vec2(cos(angle), sin(angle)));
    }
    gl_Position = vec4(in_position, 0.0, 1.0);
}
