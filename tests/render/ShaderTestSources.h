#pragma once

#include <epoxy/gl.h>

#include <string>

// Small GLSL programs for the shader tests. The attributes have fixed
// locations so that a test can tell the cached value from a made-up one.
namespace shadertest {

inline constexpr GLint positionLocation = 3;
inline constexpr GLint normalLocation = 5;

inline const std::string vertexSource = R"(#version 330 core
layout(location = 3) in vec3 in_position;
layout(location = 5) in vec3 in_normal;
uniform mat4 mvpMatrix;
void main()
{
    gl_Position = mvpMatrix * vec4(in_position + 0.01 * in_normal, 1.0);
}
)";

inline const std::string fragmentSource = R"(#version 330 core
uniform vec4 color;
out vec4 out_color;
void main()
{
    out_color = color;
}
)";

// Passes triangles through unchanged; only its presence matters.
inline const std::string geometrySource = R"(#version 330 core
layout(triangles) in;
layout(triangle_strip, max_vertices = 3) out;
void main()
{
    for (int i = 0; i < 3; ++i) {
        gl_Position = gl_in[i].gl_Position;
        EmitVertex();
    }
    EndPrimitive();
}
)";

inline const std::string brokenVertexSource = R"(#version 330 core
in vec3 in_position;
void main()
{
    gl_Position = vec4(in_position, 1.0) +;
}
)";

// True when any id up to maxId names a program or shader object. A fresh
// context has none, so this tells whether a Shader made any.
inline bool anyProgramOrShaderUpTo(GLuint maxId)
{
    for (GLuint id = 1; id <= maxId; ++id) {
        if (glIsProgram(id) || glIsShader(id)) {
            return true;
        }
    }
    return false;
}

} // namespace shadertest
