#version 330 core

// Camera motion blur, drawn object by object into the window: each pixel of
// an object is smeared along the path its surface took across the screen
// since the last frame.
//
// Colour spaces: the scene image it reads was written sRGB-encoded into an
// 8-bit texture by the lit programs. This program decodes it, averages in
// linear light (a smear of bright and dark must not come out too dark) and
// writes linear; the window's sRGB framebuffer encodes on write, so a pixel
// that does not move comes out exactly as the scene image holds it.

// The project's attribute numbering; only the position is read here.
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;

uniform mat4 mvpMatrix;      // this frame
uniform mat4 prev_mvpMatrix; // the last frame's camera, same model matrix

out vec4 currentClip;
out vec4 previousClip;

void main()
{
    currentClip = mvpMatrix * in_position;
    previousClip = prev_mvpMatrix * in_position;
    gl_Position = currentClip;
}
