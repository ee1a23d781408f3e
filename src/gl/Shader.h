#pragma once

#include "gl/GLObject.h"
#include "gl/ShaderLocation.h"

#include <epoxy/gl.h>

#include <map>
#include <string>

// A GLSL program built from "<base>.vert", "<base>.frag" and, when present,
// "<base>.geom", with the locations of every name in ShaderLocation looked up
// once after linking so that drawing never asks the GL for a name.
//
// A program that could not be built is not fatal: program() is then 0, which
// draws nothing, and the reason has been printed to the console.
class Shader {
public:
    explicit Shader(const std::string& basePath);
    // Deleting the program and its shader objects needs the context current.
    ~Shader() = default;

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
    Shader(Shader&&) noexcept = default;
    Shader& operator=(Shader&&) noexcept = default;

    // Links the program, creating it first when there is none. An existing
    // program is linked again in place, so that bindings made since the last
    // link (the fragment output) take effect while its id stays the same.
    void link();

    // The cached location for key; a key never looked up is entered as 0.
    GLint location(ShaderLocation key);

    GLuint program() const { return program_.id(); }
    bool hasGeometryShader() const { return hasGeometryShader_; }
    // Empty while the program is unusable, all keys after a successful build.
    const std::map<ShaderLocation, GLint>& locations() const { return locations_; }

private:
    void queryLocations();

    std::map<ShaderLocation, GLint> locations_;
    GLVertexShader vertexShader_;
    GLFragmentShader fragmentShader_;
    GLGeometryShader geometryShader_;
    bool hasGeometryShader_ = false;
    // Last, so that it is deleted first and its stages are free to go at once.
    GLProgram program_;
};

// Binds the program's one colour output to colour number 0 and re-links it.
// Owners call this once after construction; a failed program is left alone.
void bindFragmentOutput(Shader& shader, const std::string& outputName);
