#version 330 core

// Surroundings of the reflective object into its layered cube map, stage 1:
// everything in world space. The projection differs per face, so it waits
// for the geometry stage, which sends each triangle to all six faces.

// The project's attribute numbering: one vertex array serves every program.
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;

uniform mat4 modelMatrix;
uniform mat3 normalMatrix;
// Light N's texture matrix times the model matrix (see shadowShader.frag).
uniform mat4 texMat_model1;
uniform mat4 texMat_model2;
uniform mat4 texMat_model3;

out CubeVertex {
    vec3 worldPosition;
    vec3 worldNormal;
    vec3 baseColor; // linear
    vec2 texCoords;
    vec4 shadowCoord1;
    vec4 shadowCoord2;
    vec4 shadowCoord3;
} vertexOut;

// Vertex colours are authored in sRGB; lighting needs linear values.
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
    vertexOut.worldPosition = world.xyz / world.w;
    vertexOut.worldNormal = normalMatrix * in_normal;
    // One material colour per sub-mesh: decoding per vertex costs less than
    // per fragment and gives the same result.
    vertexOut.baseColor = srgbToLinear(in_color);
    vertexOut.texCoords = in_texCoords;
    vertexOut.shadowCoord1 = texMat_model1 * in_position;
    vertexOut.shadowCoord2 = texMat_model2 * in_position;
    vertexOut.shadowCoord3 = texMat_model3 * in_position;
    // World space, projected per face by the geometry stage.
    gl_Position = world;
}
