#include "gl/Shader.h"

#include "gl/GLError.h"
#include "gl/ShaderLocationTable.h"
#include "gl/TextFile.h"

#include <iostream>

namespace {

// Longer logs are cut; their start names the first error, which is the one to fix.
constexpr GLsizei infoLogSize = 8096;

void printShaderLog(GLuint shader)
{
    std::string log(infoLogSize, '\0');
    GLsizei length = 0;
    glGetShaderInfoLog(shader, infoLogSize, &length, log.data());
    if (length > 0) {
        std::cout << log.substr(0, length) << '\n';
    }
}

void printProgramLog(GLuint program)
{
    std::string log(infoLogSize, '\0');
    GLsizei length = 0;
    glGetProgramInfoLog(program, infoLogSize, &length, log.data());
    if (length > 0) {
        std::cout << log.substr(0, length) << '\n';
    }
}

// Reads "<basePath><extension>" into source; reports a missing file on std::cerr.
bool readStage(const std::string& basePath, const char* extension, const char* stageName,
               std::string& source)
{
    const std::string path = basePath + extension;
    if (!fileExists(path)) {
        std::cerr << stageName << " shader file " << path << " does not exist.\n";
        return false;
    }
    source = readFile(path);
    return true;
}

// Compiles one stage into a new shader object. A failed stage is still handed
// back: attaching it makes the link fail and report too. Only an object the GL
// could not make at all comes back "not created".
template <GLObjectKind Stage>
GLObject<Stage> compileShader(const std::string& source)
{
    GLObject<Stage> shader = GLObject<Stage>::create();
    if (!shader.created()) {
        std::cerr << "Could not create shader object.\n";
        return shader;
    }
    const GLchar* text = source.c_str();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader.id(), 1, &text, &length);
    glCompileShader(shader.id());

    GLint status = GL_FALSE;
    glGetShaderiv(shader.id(), GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader compilation failed.\n";
        printShaderLog(shader.id());
    }
    checkGLError();
    return shader;
}

} // namespace

Shader::Shader(const std::string& basePath)
{
    // All sources are read before any GL object exists, so a missing file leaves nothing to clean up.
    std::string vertexSource;
    if (!readStage(basePath, ".vert", "Vertex", vertexSource)) {
        return;
    }
    std::string fragmentSource;
    if (!readStage(basePath, ".frag", "Fragment", fragmentSource)) {
        return;
    }
    std::string geometrySource;
    const std::string geometryPath = basePath + ".geom";
    if (fileExists(geometryPath)) {
        geometrySource = readFile(geometryPath);
        hasGeometryShader_ = true;
    }

    vertexShader_ = compileShader<GLObjectKind::VertexShader>(vertexSource);
    if (!vertexShader_.created()) {
        return;
    }
    checkGLError();
    fragmentShader_ = compileShader<GLObjectKind::FragmentShader>(fragmentSource);
    if (!fragmentShader_.created()) {
        return;
    }
    checkGLError();
    if (hasGeometryShader_) {
        geometryShader_ = compileShader<GLObjectKind::GeometryShader>(geometrySource);
        if (!geometryShader_.created()) {
            return;
        }
        checkGLError();
    }

    link();
    if (program_.created()) {
        queryLocations();
        checkGLError();
    }
}

void Shader::link()
{
    if (!program_.created()) {
        program_ = GLProgram::create();
        // Stages that never got a GL object are skipped; the link then reports what is missing.
        if (vertexShader_.created()) {
            glAttachShader(program_.id(), vertexShader_.id());
        }
        if (fragmentShader_.created()) {
            glAttachShader(program_.id(), fragmentShader_.id());
        }
        if (geometryShader_.created()) {
            glAttachShader(program_.id(), geometryShader_.id());
        }
    }

    glLinkProgram(program_.id());
    GLint status = GL_FALSE;
    glGetProgramiv(program_.id(), GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader linking failed.\n";
        printProgramLog(program_.id());
        program_.reset();
    }
    checkGLError();
}

GLint Shader::location(ShaderLocation key)
{
    return locations_[key];
}

void Shader::queryLocations()
{
    for (const ShaderLocationName& row : shaderLocationTable) {
        locations_[row.key] = row.isAttribute ? glGetAttribLocation(program_.id(), row.glslName)
                                              : glGetUniformLocation(program_.id(), row.glslName);
    }
}

void bindFragmentOutput(Shader& shader, const std::string& outputName)
{
    if (shader.program() == 0) {
        return;
    }
    glBindFragDataLocation(shader.program(), 0, outputName.c_str());
    shader.link();
}
