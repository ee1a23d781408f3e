#version 330 core

// Surroundings of the reflective object into its layered cube map, stage 2:
// both cube textures are attached whole, so one pass fills all six faces by
// emitting every triangle once per face, gl_Layer selecting the face.

layout(triangles) in;
// Three vertices for each of the six faces.
layout(triangle_strip, max_vertices = 18) out;

// Projection x face rotation x translation to the cube centre; matrix N
// renders layer N - 1, in the GL face order +X, -X, +Y, -Y, +Z, -Z.
uniform mat4 cubemapMatrix1;
uniform mat4 cubemapMatrix2;
uniform mat4 cubemapMatrix3;
uniform mat4 cubemapMatrix4;
uniform mat4 cubemapMatrix5;
uniform mat4 cubemapMatrix6;

in CubeVertex {
    vec3 worldPosition;
    vec3 worldNormal;
    vec3 baseColor;
    vec2 texCoords;
    vec4 shadowCoord1;
    vec4 shadowCoord2;
    vec4 shadowCoord3;
} vertexIn[];

out CubeFragment {
    vec3 worldPosition;
    vec3 worldNormal;
    vec3 baseColor;
    vec2 texCoords;
    vec4 shadowCoord1;
    vec4 shadowCoord2;
    vec4 shadowCoord3;
} fragmentIn;

// True when all three vertices lie beyond the same side plane of the face:
// the triangle cannot touch it. Most triangles meet one or two faces, so this
// spares the rasterizer four or five clipped copies each. The planes are
// linear in clip space, so the test holds for vertices behind the eye too.
bool outsideFace(vec4 a, vec4 b, vec4 c)
{
    return (a.x > a.w && b.x > b.w && c.x > c.w) || (a.x < -a.w && b.x < -b.w && c.x < -c.w) ||
           (a.y > a.w && b.y > b.w && c.y > c.w) || (a.y < -a.w && b.y < -b.w && c.y < -c.w);
}

void main()
{
    mat4 faceMatrices[6] = mat4[6](cubemapMatrix1, cubemapMatrix2, cubemapMatrix3,
                                   cubemapMatrix4, cubemapMatrix5, cubemapMatrix6);
    for (int face = 0; face < 6; ++face) {
        vec4 clip[3];
        for (int i = 0; i < 3; ++i) {
            clip[i] = faceMatrices[face] * gl_in[i].gl_Position;
        }
        if (outsideFace(clip[0], clip[1], clip[2])) {
            continue;
        }
        for (int i = 0; i < 3; ++i) {
            gl_Layer = face;
            gl_Position = clip[i];
            fragmentIn.worldPosition = vertexIn[i].worldPosition;
            fragmentIn.worldNormal = vertexIn[i].worldNormal;
            fragmentIn.baseColor = vertexIn[i].baseColor;
            fragmentIn.texCoords = vertexIn[i].texCoords;
            fragmentIn.shadowCoord1 = vertexIn[i].shadowCoord1;
            fragmentIn.shadowCoord2 = vertexIn[i].shadowCoord2;
            fragmentIn.shadowCoord3 = vertexIn[i].shadowCoord3;
            EmitVertex();
        }
        EndPrimitive();
    }
}
