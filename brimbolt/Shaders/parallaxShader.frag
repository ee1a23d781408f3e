#version 330 core

// Lit relief surfaces: the lighting and shadows of phongShader, with a
// parallax-occlusion-mapped height field and a normal map on top.
//
// Colour spaces: colour textures and vertex colours are authored in sRGB.
// This program decodes them to linear, lights in linear and encodes the
// result back to sRGB, because it writes into the plain 8-bit scene target,
// where an encoded value keeps far more precision in the darks than a linear
// one would. The normal, height and specular maps are data, not colours, and
// are read as stored. The motion-blur pass decodes the scene image again, and
// the window's sRGB framebuffer encodes the final picture.

// Default sampler units where the compiler allows them, so that a unit the
// frame has not set yet never aliases the colour map.
#ifdef GL_ARB_shading_language_420pack
#extension GL_ARB_shading_language_420pack : enable
#define TEXTURE_UNIT(n) layout(binding = n)
#else
#define TEXTURE_UNIT(n)
#endif

in vec3 worldPosition;
in vec3 worldNormal;
in vec3 worldTangent;
in vec3 worldBitangent;
in vec3 baseColor; // linear
in vec2 texCoords;
in vec4 shadowCoord1;
in vec4 shadowCoord2;
in vec4 shadowCoord3;

uniform vec4 cameraPos;

// One light per column (or array element): column i is light i + 1.
uniform mat3 lightPosition;
uniform mat3 lightColor;
uniform mat3 attenuation; // constant, linear, quadratic
uniform mat3 spotDirection;
uniform float spotCosCutoff[3];
uniform float spotExponent[3];

// Columns: ambient, diffuse, specular.
uniform mat3 reflectionCoefficient;
uniform float shininess;

uniform bool useTexture;
uniform bool useSpecularMap;

TEXTURE_UNIT(0) uniform sampler2D colorMap;
TEXTURE_UNIT(1) uniform sampler2D varianceShadowMap1;
TEXTURE_UNIT(2) uniform sampler2D varianceShadowMap2;
TEXTURE_UNIT(3) uniform sampler2D varianceShadowMap3;
// Tangent-space normal, rgb = n * 0.5 + 0.5: x along the tangent, y along the
// bitangent, z out of the surface.
TEXTURE_UNIT(5) uniform sampler2D normalMap;
// Grey scale (a depth-format texture, so the value is in .r); white is raised.
TEXTURE_UNIT(6) uniform sampler2D heightMap;
// Grey scale specular strength.
TEXTURE_UNIT(7) uniform sampler2D specularMap;

out vec4 out_color;

// Must match shadowShader.frag, which divides the light distance by it.
const float shadowDepthRange = 128.0;

// Depth of the deepest groove in texture-coordinate units: deep enough for
// the bricks to stand out, shallow enough that the stepping stays invisible.
const float heightScale = 0.04;
// Few steps where the surface is seen head-on (the offsets are small), many
// at grazing angles, where a coarse march would show as stacked slices.
const int minSteps = 8;
const int maxSteps = 32;
// 1 for the fast picture: half the steps, each twice as deep.
uniform int quality;
// Limits the offset at grazing angles, where it would grow without bound.
const float minViewCosine = 0.2;

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

// Leaves everything below the knee alone and bends the rest smoothly (same
// slope at the knee) towards 1, so a surface right under a 1.1-bright light
// keeps its shading instead of clipping to a flat white.
vec3 softShoulder(vec3 color)
{
    const float knee = 0.8;
    const float headroom = 1.0 - knee;
    vec3 over = max(color - knee, 0.0);
    return min(color, knee) + headroom * (1.0 - exp(-over / headroom));
}

// Chebyshev's upper bound on the lit fraction, read from the blurred moments
// exactly as shadowShader.frag stores them; no depth bias is needed there.
float shadowVisibility(sampler2D momentsMap, vec4 shadowCoord)
{
    // Behind the light the shadow camera sees nothing; the cone decides.
    if (shadowCoord.w <= 0.0) {
        return 1.0;
    }
    // Level 0 explicitly: the map has no mipmaps, and this runs in a branch.
    vec2 moments = textureLod(momentsMap, shadowCoord.xy / shadowCoord.w, 0.0).rg;
    float depth = shadowCoord.w / shadowDepthRange;
    if (depth <= moments.x) {
        return 1.0;
    }
    float variance = max(moments.y - moments.x * moments.x, 1.0e-6);
    float delta = depth - moments.x;
    float pMax = variance / (variance + delta * delta);
    // Cutting off the lowest 30 % removes light bleeding where casters overlap.
    return clamp((pMax - 0.3) / 0.7, 0.0, 1.0);
}

// Spot cone: nothing outside the cutoff, pow(cos, exponent) inside. The last
// few per cent of the cone fade in, so its rim is not a hard ring on the
// floor. A cutoff of -1 is a light without a cone.
float spotFactor(int light, float cosAngle)
{
    float cutoff = spotCosCutoff[light];
    float rim = 1.0;
    if (cutoff > -1.0) {
        rim = smoothstep(cutoff, cutoff + 0.08 * (1.0 - cutoff), cosAngle);
    }
    // pow is undefined for a negative base; behind a coneless light only an
    // exponent of 0 keeps any light.
    return rim * pow(max(cosAngle, 1.0e-4), spotExponent[light]);
}

// The march below samples inside a loop with a data-dependent exit, where
// implicit derivatives are undefined; every lookup of this program therefore
// uses the gradients of the undisplaced coordinates, taken up front.
float depthAt(vec2 uv, vec2 gradX, vec2 gradY)
{
    return 1.0 - textureGrad(heightMap, uv, gradX, gradY).r;
}

// Parallax occlusion mapping: walks the view ray down through the height
// field in equal depth layers until it passes below the surface, then
// interpolates between the last two layers for where it crossed.
vec2 parallaxCoords(vec2 uv, vec3 viewTangent, vec2 gradX, vec2 gradY)
{
    // No height map bound, or the back of the surface: nothing to displace.
    if (textureSize(heightMap, 0).x == 0 || viewTangent.z <= 0.0) {
        return uv;
    }
    int steps = int(mix(float(maxSteps), float(minSteps), viewTangent.z) + 0.5) / (quality == 1 ? 2 : 1);
    float layerDepth = 1.0 / float(steps);
    // Deeper texels are seen further along the ray, away from the eye.
    vec2 stepShift = viewTangent.xy / max(viewTangent.z, minViewCosine) * heightScale * layerDepth;

    vec2 current = uv;
    float rayDepth = 0.0;
    float surfaceDepth = depthAt(current, gradX, gradY);
    for (int i = 0; i < maxSteps; ++i) {
        if (i >= steps || rayDepth >= surfaceDepth) {
            break;
        }
        current -= stepShift;
        rayDepth += layerDepth;
        surfaceDepth = depthAt(current, gradX, gradY);
    }

    vec2 previous = current + stepShift;
    float below = surfaceDepth - rayDepth; // <= 0 once the ray has crossed
    float above = depthAt(previous, gradX, gradY) - (rayDepth - layerDepth);
    float span = below - above;
    float weight = abs(span) > 1.0e-6 ? below / span : 0.0;
    return mix(current, previous, clamp(weight, 0.0, 1.0));
}

void main()
{
    vec2 gradX = dFdx(texCoords);
    vec2 gradY = dFdy(texCoords);

    // Tangent frame: the tangent made perpendicular to the normal, the
    // bitangent rebuilt from both but pointing the way the mesh says (+v),
    // so mirrored texture islands keep their relief the right way round.
    vec3 normal = normalize(worldNormal);
    vec3 tangent = worldTangent - normal * dot(normal, worldTangent);
    if (dot(tangent, tangent) < 1.0e-12) {
        tangent = abs(normal.x) < 0.9 ? cross(normal, vec3(1.0, 0.0, 0.0)) : cross(normal, vec3(0.0, 1.0, 0.0));
    }
    tangent = normalize(tangent);
    vec3 bitangent = cross(normal, tangent);
    if (dot(bitangent, worldBitangent) < 0.0) {
        bitangent = -bitangent;
    }

    vec3 toEye = normalize(cameraPos.xyz - worldPosition);
    vec3 viewTangent = vec3(dot(toEye, tangent), dot(toEye, bitangent), dot(toEye, normal));
    vec2 uv = parallaxCoords(texCoords, viewTangent, gradX, gradY);

    // A unit without a map reads as black, which no normal map contains: its
    // z never points into the surface, so blue stays at 0.5 or above.
    vec3 shadingNormal = normal;
    vec3 encodedNormal = textureGrad(normalMap, uv, gradX, gradY).rgb;
    if (encodedNormal.b > 0.25) {
        vec3 n = encodedNormal * 2.0 - 1.0;
        shadingNormal = normalize(tangent * n.x + bitangent * n.y + normal * max(n.z, 0.0));
    }

    vec3 base = baseColor;
    if (useTexture) {
        base *= srgbToLinear(textureGrad(colorMap, uv, gradX, gradY).rgb);
    }
    float specularStrength = 1.0;
    if (useSpecularMap) {
        specularStrength = textureGrad(specularMap, uv, gradX, gradY).r;
    }

    float visibility[3] = float[3](shadowVisibility(varianceShadowMap1, shadowCoord1),
                                   shadowVisibility(varianceShadowMap2, shadowCoord2),
                                   shadowVisibility(varianceShadowMap3, shadowCoord3));

    // An exponent of 0 would make pow(0, 0) undefined at the terminator, and
    // beyond a few thousand the lobe only sparkles on single pixels.
    float exponent = clamp(shininess, 1.0, 4096.0);

    vec3 diffuseLight = vec3(0.0);
    vec3 specularLight = vec3(0.0);
    for (int i = 0; i < 3; ++i) {
        vec3 toLight = lightPosition[i] - worldPosition;
        float lightDistance = max(length(toLight), 1.0e-4);
        vec3 lightDirection = toLight / lightDistance;
        float cone = spotFactor(i, dot(-lightDirection, normalize(spotDirection[i])));
        vec3 k = attenuation[i];
        float falloff = 1.0 / max(k.x + k.y * lightDistance + k.z * lightDistance * lightDistance, 1.0e-3);
        // The mapped normal may still lean towards a light that the surface
        // itself faces away from; the geometric normal closes that leak.
        float facing = smoothstep(-0.05, 0.1, dot(normal, lightDirection));
        vec3 radiance = lightColor[i] * (falloff * cone * visibility[i] * facing);

        float lambert = max(dot(shadingNormal, lightDirection), 0.0);
        diffuseLight += radiance * lambert;
        vec3 halfway = normalize(lightDirection + toEye);
        float highlight = pow(max(dot(shadingNormal, halfway), 0.0), exponent) * smoothstep(0.0, 0.1, lambert);
        specularLight += radiance * highlight;
    }

    vec3 ambient = reflectionCoefficient[0] * base;
    vec3 diffuse = reflectionCoefficient[1] * base * diffuseLight;
    vec3 specular = reflectionCoefficient[2] * specularStrength * specularLight;

    out_color = vec4(linearToSrgb(softShoulder(ambient + diffuse + specular)), 1.0);
}
