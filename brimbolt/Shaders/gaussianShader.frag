#version 330 core

// One half of a separable Gaussian blur of the shadow map's depth moments.
// Averaging both moments with the same weights is what makes a variance
// shadow map filterable: the result is the mean depth and the mean squared
// depth of the neighbourhood, from which the lit programs read the variance.
// Nine taps with sigma = 2 texels: they reach 2 sigma each side, enough to
// hide the map's texel staircase; a wider kernel would only add light
// bleeding where casters overlap.

uniform sampler2D colorMap;
uniform vec2 direction; // one texel step along the blurred axis

in vec2 texCoords;

// The intermediate has three channels; the moments live in .rg.
out vec4 out_color;

// Taps i = 1, 2 and i = 3, 4 of exp(-i^2 / (2 sigma^2)) are read in pairs,
// one linearly filtered fetch between the two texels each: five fetches
// instead of nine for the same weights, since the maps filter linearly.
//   pairWeight = w(i) + w(i+1), pairOffset = (i w(i) + (i+1) w(i+1)) / pairWeight
// All weights are positive and normalised by their sum, so every output is
// a true average: an even region stays even and the variance never turns
// negative.
const float centreWeight = 1.0;
const vec2 pairWeight = vec2(1.4890276, 0.4599878);
const vec2 pairOffset = vec2(1.4073334, 3.2942150);
const float totalWeight = centreWeight + 2.0 * (pairWeight.x + pairWeight.y);

void main()
{
    // The centre lies on a texel centre (the target is the map's size), where
    // the linear filter would return that one texel anyway: a plain fetch
    // gives the same value for a quarter of the work.
    vec3 sum = texelFetch(colorMap, ivec2(gl_FragCoord.xy), 0).rgb * centreWeight;
    for (int i = 0; i < 2; ++i) {
        vec2 offset = pairOffset[i] * direction;
        sum += (texture(colorMap, texCoords + offset).rgb +
                texture(colorMap, texCoords - offset).rgb) * pairWeight[i];
    }
    out_color = vec4(sum / totalWeight, 0.0);
}
