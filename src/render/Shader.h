#pragma once

#include "render/ShaderLocation.h"

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
    // Deletes the program and its shader objects; the context must be current.
    ~Shader();

    Shader(const Shader&) = delete;
    Shader& operator=(const Shader&) = delete;
    Shader(Shader&& other) noexcept;
    Shader& operator=(Shader&& other) noexcept;

    // Links the program, creating it first when there is none. An existing
    // program is linked again in place, so that bindings made since the last
    // link (the fragment output) take effect while its id stays the same.
    void link();

    // The cached location for key; a key never looked up is entered as 0.
    GLint location(ShaderLocation key);

    GLuint program() const { return program_; }
    bool hasGeometryShader() const { return hasGeometryShader_; }
    // Empty while the program is unusable, all keys after a successful build.
    const std::map<ShaderLocation, GLint>& locations() const { return locations_; }

private:
    static GLuint compileShader(GLenum type, const std::string& source);
    void queryLocations();
    void release();

    std::map<ShaderLocation, GLint> locations_;
    GLuint vertexShader_ = 0;
    GLuint fragmentShader_ = 0;
    GLuint geometryShader_ = 0;
    bool hasGeometryShader_ = false;
    GLuint program_ = 0;
};

// Binds the program's one colour output to colour number 0 and re-links it.
// Owners call this once after construction; a failed program is left alone.
void bindFragmentOutput(Shader& shader, const std::string& outputName);
