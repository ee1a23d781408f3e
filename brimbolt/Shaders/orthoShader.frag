#version 330 core

in vec2 texCoords;

uniform sampler2D colorMap;
// A tint in linear space; white shows the picture as it is.
uniform vec4 color;

out vec4 out_color;

// The pictures are ordinary sRGB images stored in plain 8-bit textures, so
// sampling returns encoded values. The window encodes to sRGB on write
// (GL_FRAMEBUFFER_SRGB), so the colour is decoded here first; otherwise the
// pictures would come out washed out. Alpha is coverage and stays linear.
vec3 srgbToLinear(vec3 encoded)
{
    vec3 low = encoded / 12.92;
    vec3 high = pow((encoded + 0.055) / 1.055, vec3(2.4));
    return mix(high, low, vec3(lessThanEqual(encoded, vec3(0.04045))));
}

void main()
{
    vec4 texel = texture(colorMap, texCoords);
    out_color = vec4(srgbToLinear(texel.rgb), texel.a) * color;
}
