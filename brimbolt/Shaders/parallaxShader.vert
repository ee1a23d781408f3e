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

// The project's attribute numbering: one vertex array serves every program.
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
// Along +u and +v of the texture coordinates.
layout(location = 4) in vec3 in_tangent;
layout(location = 5) in vec3 in_bitangent;

uniform mat4 mvpMatrix;
uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
// Light N's texture matrix times the model matrix: (s, t, r, q) in its shadow
// map, q being the distance along the light's axis (see shadowShader.frag).
uniform mat4 texMat_model1;
uniform mat4 texMat_model2;
uniform mat4 texMat_model3;

out vec3 worldPosition;
out vec3 worldNormal;
out vec3 worldTangent;
out vec3 worldBitangent;
out vec3 baseColor; // linear
out vec2 texCoords;
out vec4 shadowCoord1;
out vec4 shadowCoord2;
out vec4 shadowCoord3;

vec3 srgbToLinear(vec3 encoded)
{
    encoded = clamp(encoded, 0.0, 1.0);
    vec3 low = encoded / 12.92;
    vec3 high = pow((encoded + 0.055) / 1.055, vec3(2.4));
    return mix(high, low, vec3(lessThanEqual(encoded, vec3(0.04045))));
}

void main()
{
    vec4 world = modelMatrix * in_position;
    worldPosition = world.xyz / world.w;
    worldNormal = normalMatrix * in_normal;
    // Our relief pieces are scaled uniformly, where the normal matrix turns
    // tangents exactly as the model matrix would; the fragment stage
    // re-orthogonalises the frame anyway.
    worldTangent = normalMatrix * in_tangent;
    worldBitangent = normalMatrix * in_bitangent;
    // The material colour is one value per mesh, so decoding it once per
    // vertex instead of per fragment changes nothing visible.
    baseColor = srgbToLinear(in_color);
    texCoords = in_texCoords;
    shadowCoord1 = texMat_model1 * in_position;
    shadowCoord2 = texMat_model2 * in_position;
    shadowCoord3 = texMat_model3 * in_position;
    gl_Position = mvpMatrix * in_position;
}
