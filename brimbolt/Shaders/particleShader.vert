#version 330 core

// Smoke and explosion particles as textured point sprites, in world space.
//
// Colour spaces: the sprite textures and the particle colours are authored in
// sRGB. This program decodes them, multiplies in linear and encodes the
// result again, because it draws into the same 8-bit scene target as the lit
// programs, which holds sRGB-encoded values (the motion-blur pass decodes
// them). Blending then mixes encoded values; for thin smoke and sparks that
// difference does not show.

// The project's attribute numbering. Positions arrive as three floats, so w
// reads as 1; the colour carries its opacity in alpha.
layout(location = 0) in vec4 in_position;
layout(location = 2) in vec4 in_color;

uniform mat4 mvpMatrix; // projection x view: particles are already in world space
uniform vec4 cameraPos;
// The effect's particle size: a small number for smoke, a larger one for sparks.
uniform float shininess;
// The scene image's size as a share of the window's: a point keeps its size
// on screen when the scene is drawn smaller and scaled up.
uniform float sceneScale = 1.0;

flat out vec4 particleColor; // linear rgb, straight alpha

// Pixels per unit of shininess at one scene unit from the eye: smoke puffs a
// few tenths of a unit across, explosion sparks a little over one unit.
const float pointSizeFactor = 4.0;
// A point never vanishes below one pixel nor covers the screen when the
// camera passes through a cloud.
const float minPointSize = 1.0;
const float maxPointSize = 128.0;

vec3 srgbToLinear(vec3 encoded)
{
    encoded = clamp(encoded, 0.0, 1.0);
    vec3 low = encoded / 12.92;
    vec3 high = pow((encoded + 0.055) / 1.055, vec3(2.4));
    return mix(high, low, vec3(lessThanEqual(encoded, vec3(0.04045))));
}

void main()
{
    vec3 position = in_position.xyz;
    // Dead particles are still in the draw; put them outside the clip volume
    // so they cost no fragments at all.
    if (in_color.a <= 0.0) {
        particleColor = vec4(0.0);
        gl_PointSize = minPointSize;
        gl_Position = vec4(0.0, 0.0, 2.0, 1.0);
        return;
    }
    gl_Position = mvpMatrix * vec4(position, 1.0);
    float eyeDistance = max(distance(position, cameraPos.xyz), 0.01);
    gl_PointSize = clamp(shininess * pointSizeFactor * sceneScale / eyeDistance, minPointSize, maxPointSize * sceneScale);
    // The effects let colours run below 0 as they fade; clamped by the decode.
    particleColor = vec4(srgbToLinear(in_color.rgb), min(in_color.a, 1.0));
}
