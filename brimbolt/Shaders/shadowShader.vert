#version 330 core

// Depth moments of the casters as seen from one spot light. What is stored
// and how to read it back is written in shadowShader.frag.

// Every program that draws geometry declares these at the same locations, so
// one vertex array serves them all; this one needs the position only.
layout(location = 0) in vec4 in_position;

uniform mat4 mvpMatrix; // light projection x light view x model

// Distance from the light along its axis, in scene units.
out float lightDistance;

void main()
{
    gl_Position = mvpMatrix * in_position;
    // A perspective projection leaves the eye-space distance -z in w, so the
    // lit programs find the same quantity as .w of their texture matrix product.
    lightDistance = gl_Position.w;
}
