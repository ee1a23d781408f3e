#version 330 core

// Lit geometry under the three spot lights, with variance shadow maps.
//
// Colour spaces: colour textures and vertex colours are authored in sRGB.
// This program decodes them to linear, lights in linear and encodes the
// result back to sRGB, because it writes into the plain 8-bit scene target,
// where an encoded value keeps far more precision in the darks than a linear
// one would. The environment cube is stored encoded the same way and is
// decoded before it is mixed in. The motion-blur pass decodes the scene
// image again, and the window's sRGB framebuffer encodes the final picture.

// Default sampler units where the compiler allows them. The frame sets every
// unit before drawing, but the environment cube is only given its unit when
// the reflective object is drawn; until then a cube sampler left on unit 0
// beside the 2D colour map is an invalid draw on strict drivers.
#ifdef GL_ARB_shading_language_420pack
#extension GL_ARB_shading_language_420pack : enable
#define TEXTURE_UNIT(n) layout(binding = n)
#else
#define TEXTURE_UNIT(n)
#endif

in vec3 worldPosition;
in vec3 worldNormal;
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
uniform bool isReflective;

TEXTURE_UNIT(0) uniform sampler2D colorMap;
TEXTURE_UNIT(1) uniform sampler2D varianceShadowMap1;
TEXTURE_UNIT(2) uniform sampler2D varianceShadowMap2;
TEXTURE_UNIT(3) uniform sampler2D varianceShadowMap3;
TEXTURE_UNIT(4) uniform samplerCube environmentMap;

out vec4 out_color;

// Must match shadowShader.frag, which divides the light distance by it.
const float shadowDepthRange = 128.0;

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

void main()
{
    vec3 normal = normalize(worldNormal);
    vec3 toEye = normalize(cameraPos.xyz - worldPosition);

    vec3 base = baseColor;
    if (useTexture) {
        base *= srgbToLinear(texture(colorMap, texCoords).rgb);
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
        vec3 radiance = lightColor[i] * (falloff * cone * visibility[i]);

        float lambert = max(dot(normal, lightDirection), 0.0);
        diffuseLight += radiance * lambert;
        vec3 halfway = normalize(lightDirection + toEye);
        // Faded in with the Lambert term, so the highlight cannot show on the
        // unlit side of a coarse mesh whose interpolated normal still faces H.
        float highlight = pow(max(dot(normal, halfway), 0.0), exponent) * smoothstep(0.0, 0.1, lambert);
        specularLight += radiance * highlight;
    }

    vec3 ambient = reflectionCoefficient[0] * base;
    vec3 diffuse = reflectionCoefficient[1] * base * diffuseLight;
    vec3 specular = reflectionCoefficient[2] * specularLight;

    vec3 surface = ambient + diffuse;
    if (isReflective) {
        // A polished surface: half mirror when seen head-on, almost all mirror
        // at grazing angles (Schlick's approximation of the Fresnel term).
        vec3 mirrored = srgbToLinear(texture(environmentMap, reflect(-toEye, normal)).rgb);
        float facing = 1.0 - max(dot(normal, toEye), 0.0);
        float facing2 = facing * facing;
        float fresnel = 0.45 + 0.55 * facing * facing2 * facing2; // facing^5
        surface = mix(surface, mirrored, fresnel);
    }

    out_color = vec4(linearToSrgb(softShoulder(surface + specular)), 1.0);
}
