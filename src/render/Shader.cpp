#include "render/Shader.h"

#include "render/GLError.h"
#include "render/ShaderLocationTable.h"
#include "render/TextFile.h"

#include <iostream>
#include <utility>

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

    vertexShader_ = compileShader(GL_VERTEX_SHADER, vertexSource);
    if (vertexShader_ == 0) {
        return;
    }
    checkGLError();
    fragmentShader_ = compileShader(GL_FRAGMENT_SHADER, fragmentSource);
    if (fragmentShader_ == 0) {
        return;
    }
    checkGLError();
    if (hasGeometryShader_) {
        geometryShader_ = compileShader(GL_GEOMETRY_SHADER, geometrySource);
        if (geometryShader_ == 0) {
            return;
        }
        checkGLError();
    }

    link();
    if (program_ != 0) {
        queryLocations();
        checkGLError();
    }
}

Shader::~Shader()
{
    release();
}

Shader::Shader(Shader&& other) noexcept
    : locations_(std::move(other.locations_)),
      vertexShader_(std::exchange(other.vertexShader_, 0)),
      fragmentShader_(std::exchange(other.fragmentShader_, 0)),
      geometryShader_(std::exchange(other.geometryShader_, 0)),
      hasGeometryShader_(std::exchange(other.hasGeometryShader_, false)),
      program_(std::exchange(other.program_, 0))
{
    other.locations_.clear();
}

Shader& Shader::operator=(Shader&& other) noexcept
{
    if (this != &other) {
        release();
        locations_ = std::move(other.locations_);
        other.locations_.clear();
        vertexShader_ = std::exchange(other.vertexShader_, 0);
        fragmentShader_ = std::exchange(other.fragmentShader_, 0);
        geometryShader_ = std::exchange(other.geometryShader_, 0);
        hasGeometryShader_ = std::exchange(other.hasGeometryShader_, false);
        program_ = std::exchange(other.program_, 0);
    }
    return *this;
}

void Shader::release()
{
    // Ids of 0 are skipped so that a shader that never reached the GL makes no GL call,
    // even when no context is current any more.
    if (program_ != 0) {
        glDeleteProgram(program_);
        program_ = 0;
    }
    if (vertexShader_ != 0) {
        glDeleteShader(vertexShader_);
        vertexShader_ = 0;
    }
    if (fragmentShader_ != 0) {
        glDeleteShader(fragmentShader_);
        fragmentShader_ = 0;
    }
    if (hasGeometryShader_ && geometryShader_ != 0) {
        glDeleteShader(geometryShader_);
        geometryShader_ = 0;
    }
    locations_.clear();
}

GLuint Shader::compileShader(GLenum type, const std::string& source)
{
    GLuint shader = glCreateShader(type);
    if (shader == 0) {
        std::cerr << "Could not create shader object.\n";
        return 0;
    }
    const GLchar* text = source.c_str();
    const GLint length = static_cast<GLint>(source.size());
    glShaderSource(shader, 1, &text, &length);
    glCompileShader(shader);

    GLint status = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader compilation failed.\n";
        printShaderLog(shader);
    }
    checkGLError();
    // A failed stage is still handed back: attaching it makes the link fail and report too.
    return shader;
}

void Shader::link()
{
    if (program_ == 0) {
        program_ = glCreateProgram();
        // Stages that never got a GL object are skipped; the link then reports what is missing.
        if (vertexShader_ != 0) {
            glAttachShader(program_, vertexShader_);
        }
        if (fragmentShader_ != 0) {
            glAttachShader(program_, fragmentShader_);
        }
        if (hasGeometryShader_ && geometryShader_ != 0) {
            glAttachShader(program_, geometryShader_);
        }
    }

    glLinkProgram(program_);
    GLint status = GL_FALSE;
    glGetProgramiv(program_, GL_LINK_STATUS, &status);
    if (status != GL_TRUE) {
        std::cout << "Shader linking failed.\n";
        printProgramLog(program_);
        glDeleteProgram(program_);
        program_ = 0;
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
        locations_[row.key] = row.isAttribute ? glGetAttribLocation(program_, row.glslName)
                                              : glGetUniformLocation(program_, row.glslName);
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
