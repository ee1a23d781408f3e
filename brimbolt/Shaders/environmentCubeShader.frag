#version 330 core

// Surroundings of the reflective object into its layered cube map, stage 3:
// a simplified form of the scene's lighting, seen from the cube centre.
//
// Colour spaces: colour textures and vertex colours are authored in sRGB, so
// they are decoded to linear here (the vertex stage decodes the vertex
// colour), lit in linear, and the result is ENCODED back to sRGB when
// written. The cube texture is plain 8-bit RGB, where encoded values keep
// the darks of the room from banding; the lit program that samples the cube
// decodes what it reads before mixing it in.
//
// Simplified against the lit programs: nothing in the cube is itself a
// mirror, and no tone curve is applied here. The lit program applies its
// curve to the finished surface, reflection included, so applying it here
// as well would flatten the highlights of the reflection twice.
//
// Shadows are kept: the reflective object stands in the light pools of the
// room, and a reflection showing light where the room beside it shows shadow
// is the one error that reads even at 128 texels per face. They cost three
// lookups in maps the frame has already bound, on at most 6 x 128 x 128
// fragments.

in CubeFragment {
    vec3 worldPosition;
    vec3 worldNormal;
    vec3 baseColor; // linear
    vec2 texCoords;
    vec4 shadowCoord1;
    vec4 shadowCoord2;
    vec4 shadowCoord3;
} fragmentIn;

// The cube centre: the eye of all six faces.
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
uniform sampler2D colorMap;            // unit 0
uniform sampler2D varianceShadowMap1;  // unit 1
uniform sampler2D varianceShadowMap2;  // unit 2
uniform sampler2D varianceShadowMap3;  // unit 3

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

// The lit fraction from the blurred moments as shadowShader.frag stores them
// (Chebyshev's bound, with its light-bleeding cut-off).
float shadowVisibility(sampler2D momentsMap, vec4 shadowCoord)
{
    // Behind the light its shadow camera sees nothing; the cone decides.
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
    return clamp((pMax - 0.3) / 0.7, 0.0, 1.0);
}

// A cutoff of -1 is a light without a cone. pow is undefined for a negative
// base, hence the floor on the cosine.
float spotFactor(int light, float cosAngle)
{
    if (cosAngle < spotCosCutoff[light]) {
        return 0.0;
    }
    return pow(max(cosAngle, 1.0e-4), spotExponent[light]);
}

// 1 for the fast picture: the reflection is lit without shadows, which its
// small faces hardly show anyway.
uniform int quality;

void main()
{
    vec3 normal = normalize(fragmentIn.worldNormal);
    vec3 toEye = normalize(cameraPos.xyz - fragmentIn.worldPosition);

    vec3 base = fragmentIn.baseColor;
    if (useTexture) {
        base *= srgbToLinear(texture(colorMap, fragmentIn.texCoords).rgb);
    }

    float visibility[3] = float[3](1.0, 1.0, 1.0);
    if (quality != 1) {
        visibility = float[3](shadowVisibility(varianceShadowMap1, fragmentIn.shadowCoord1),
                              shadowVisibility(varianceShadowMap2, fragmentIn.shadowCoord2),
                              shadowVisibility(varianceShadowMap3, fragmentIn.shadowCoord3));
    }
    // pow(0, 0) is undefined at the terminator.
    float exponent = max(shininess, 1.0);

    vec3 diffuseLight = vec3(0.0);
    vec3 specularLight = vec3(0.0);
    for (int i = 0; i < 3; ++i) {
        vec3 toLight = lightPosition[i] - fragmentIn.worldPosition;
        float lightDistance = max(length(toLight), 1.0e-4);
        vec3 lightDirection = toLight / lightDistance;
        float cone = spotFactor(i, dot(-lightDirection, normalize(spotDirection[i])));
        vec3 k = attenuation[i];
        // Floored so that unset (zero) attenuation cannot divide by zero.
        float falloff = 1.0 / max(k.x + k.y * lightDistance + k.z * lightDistance * lightDistance, 1.0e-3);
        vec3 radiance = lightColor[i] * (falloff * cone * visibility[i]);

        float lambert = max(dot(normal, lightDirection), 0.0);
        diffuseLight += radiance * lambert;
        if (lambert > 0.0) {
            vec3 halfway = normalize(lightDirection + toEye);
            specularLight += radiance * pow(max(dot(normal, halfway), 0.0), exponent);
        }
    }

    vec3 ambient = reflectionCoefficient[0] * base;
    vec3 diffuse = reflectionCoefficient[1] * base * diffuseLight;
    vec3 specular = reflectionCoefficient[2] * specularLight;
    out_color = vec4(linearToSrgb(ambient + diffuse + specular), 1.0);
}
