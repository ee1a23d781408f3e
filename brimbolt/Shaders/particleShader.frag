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

// The decode's upper segment ((c + 0.055) / 1.055)^2.4 as a degree-6
// polynomial (fitted at Chebyshev nodes on [0.04045, 1]): a software renderer
// spends most of a pow() on its log and exp, while these six multiply-adds
// stay within 1e-5 of the curve, a thirtieth of an 8-bit step once encoded
// again, so every 8-bit level still decodes to itself.
vec3 srgbToLinear(vec3 encoded)
{
    encoded = clamp(encoded, 0.0, 1.0);
    vec3 low = encoded / 12.92;
    vec3 high = 9.31145439e-4 + encoded * (0.0326325297 + encoded * (0.51585769 + encoded * (0.700870755 +
                encoded * (-0.40627095 + encoded * (0.203136596 + encoded * -0.0471605817)))));
    return mix(high, low, vec3(lessThanEqual(encoded, vec3(0.04045))));
}

// The encode's upper segment 1.055 x^(1/2.4) - 0.055 from two square roots:
// a sum of x, its square and fourth roots and their product (weights fitted
// for the least largest error on [0.0031308, 1]) stays within a hundredth of
// an 8-bit step of the curve, where pow() would cost a log and an exp.
vec3 linearToSrgb(vec3 linear)
{
    linear = clamp(linear, 0.0, 1.0);
    vec3 low = linear * 12.92;
    vec3 root2 = sqrt(linear);
    vec3 root4 = sqrt(root2);
    vec3 high = -0.0646116106 + 1.12268282 * root2 + 0.196135951 * root4 + 0.0813318684 * linear -
                0.33550458 * root2 * root4;
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
