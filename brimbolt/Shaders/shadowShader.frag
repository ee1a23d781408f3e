#version 330 core

// Variance shadow map: the first two moments of the casters' depth.
//
// Stored (RGBA32F, blurred afterwards by gaussianShader, which keeps .rgb):
//   d   = distance along the light's axis (scene units) / shadowDepthRange
//   .r  = d
//   .g  = d * d + 0.25 * (dFdx(d)^2 + dFdy(d)^2)
//   .ba = 0
//
// Why linear depth and not the post-projection depth r/q: with near and far
// planes as far apart as ours, post-projection depth crowds the whole room
// into the top of [0, 1], and the variance .g - .r^2 loses its float
// precision exactly there; a linear depth keeps one relative precision over
// the whole range. It also costs the lit programs nothing: the distance is
// the .w of texMat_model * position, so they need no near or far plane.
//
// shadowDepthRange (128) is longer than any light's far plane, so every
// stored d lies below 1, and the map's border colour (1, 0) reads as a caster
// behind every receiver: outside the shadow camera's cone nothing is darkened.
// Texels that no caster covered keep the pass's clear value (0, 0), a caster
// at the light: full shadow. Inside the room every direction meets a wall, so
// only receivers beyond the far plane see it.
//
// How a lit program turns the blurred moments into visibility (light N):
//   vertex:   shadowCoordN = texMat_modelN * in_position;
//   fragment: if (shadowCoordN.w <= 0.0) the point is behind the light: no lookup.
//             vec2  m = textureProj(varianceShadowMapN, shadowCoordN.xyw).rg;
//             float t = shadowCoordN.w / 128.0;          // same d as stored here
//             float variance = max(m.y - m.x * m.x, 1.0e-6);
//             float delta = t - m.x;
//             float pMax = variance / (variance + delta * delta); // Chebyshev's bound
//             // Light-bleeding reduction: where casters overlap, pMax never
//             // falls to 0 in the lower one's penumbra; cutting off its lowest
//             // 30 % removes the glow and keeps the penumbra soft.
//             float lit = t <= m.x ? 1.0 : clamp((pMax - 0.3) / 0.7, 0.0, 1.0);
// The minimum variance 1e-6 (about a tenth of a scene unit) covers the float
// rounding of .g - .r^2 near d = 1; a smaller one lets that noise through as
// speckles, a larger one lets light through thin gaps between casters.
// Acne needs no depth bias: a receiver reads its own surface as the mean,
// and the blur plus the derivative term give a sloped surface the variance of
// its own slope, so Chebyshev's bound stays near 1 on it.

const float shadowDepthRange = 128.0;

in float lightDistance;

out vec4 out_moments;

void main()
{
    float depth = lightDistance / shadowDepthRange;
    // The depth spread inside this one pixel: without it a surface seen at a
    // grazing angle has no variance and shadows itself in stripes.
    float dx = dFdx(depth);
    float dy = dFdy(depth);
    out_moments = vec4(depth, depth * depth + 0.25 * (dx * dx + dy * dy), 0.0, 0.0);
}
