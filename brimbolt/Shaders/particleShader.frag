#version 330 core

// Smoke and explosion particles as textured point sprites, in world space.
//
// Colour spaces: the sprite textures and the particle colours are authored in
// sRGB. This program decodes them, multiplies in linear and encodes the
// result again, because it draws into the same 8-bit scene target as the lit
// programs, which holds sRGB-encoded values (the motion-blur pass decodes
// them). Blending then mixes encoded values; for thin smoke and sparks that
// difference does not show.

flat in vec4 particleColor; // linear rgb, straight alpha

uniform sampler2D colorMap; // the sprite

out vec4 out_color;

vec3 srgbToLinear(vec3 encoded)
{
    encoded = clamp(encoded, 0.0, 1.0);
    vec3 low = encoded / 12.92;
    vec3 high = pow((encoded + 0.055) / 1.055, vec3(2.4));
    return mix(high, low, vec3(lessThanEqual(encoded, vec3(0.04045))));
}

vec3 linearToSrgb(vec3 linear)
{
    linear = clamp(linear, 0.0, 1.0);
    vec3 low = linear * 12.92;
    vec3 high = 1.055 * pow(linear, vec3(1.0 / 2.4)) - 0.055;
    return mix(high, low, vec3(lessThanEqual(linear, vec3(0.0031308))));
}

void main()
{
    if (particleColor.a <= 0.0) {
        discard;
    }
    // gl_PointCoord runs downwards; the sprite images are stored bottom row first.
    vec4 texel = texture(colorMap, vec2(gl_PointCoord.x, 1.0 - gl_PointCoord.y));
    float alpha = texel.a * particleColor.a;
    // With blending switched off (the transparency key) the sprite's clear
    // corners would otherwise paint dark squares over the scene.
    if (alpha < 0.5 / 255.0) {
        discard;
    }
    out_color = vec4(linearToSrgb(srgbToLinear(texel.rgb) * particleColor.rgb), alpha);
}
