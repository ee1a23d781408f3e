#pragma once

#include "render/CubeMapFaces.h"
#include "gl/GLObject.h"
#include "render/Geometry.h"
#include "scene/RoomLayout.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>

class Camera;
class Shader;

// A Geometry that mirrors its surroundings: it owns a small cube map that the
// frame pipeline re-renders from the centre of its bounding sphere every
// frame, before the object is drawn, and samples it on texture unit 4 in its
// lit draw.
//
// The cube is rendered in one layered pass: both cube textures are attached
// whole, so the "environmentCube" program's geometry stage sends every
// triangle to all six faces, each projected with its own "cubemapMatrix".
// The object never draws itself into its own cube.
//
// The GL objects are made by the constructor and deleted with the object, so
// a context must be current for both.
class ReflectiveGeometry : public Geometry {
public:
    // Per face; why it is this size is told beside the value.
    static constexpr int defaultCubeSize = roomLayout::environmentFaceSize;
    // A cube face sees exactly a quarter turn each way.
    static constexpr float cubeFieldOfView = 90.0f; // degrees
    // Close enough that a car passing the pig still shows in it.
    static constexpr float cubeNearPlane = 0.1f;
    // As far as the main camera sees, so the room reflects wall to wall.
    static constexpr float cubeFarPlane = 180.0f;

    explicit ReflectiveGeometry(int faceSize = defaultCubeSize);
    ~ReflectiveGeometry() override;

    // (Re)creates the layered framebuffer with its colour and depth cubes. An
    // incomplete framebuffer prints "Error creating cube map" on standard
    // output and the object stays usable, with undefined reflections.
    // Leaves framebuffer 0 and no 2D or cube texture bound.
    void createCubeMap();

    // Starts the cube pass with program current: binds and clears the cube
    // framebuffer, sets the cube viewport and sends "cubemapMatrix1" ... "6"
    // for the current centre. The caller restores its own framebuffer and
    // viewport afterwards.
    void beginCubeRender(Shader& program);

    // The lit draw with the cube on unit 4 and "isReflective" on; Geometry's
    // draw switches it off again, also when the object is culled.
    using Geometry::draw;
    void draw(const LitPass& pass, const Placement& at) override;

    // Projection × face rotation × translation to the centre, one per layer:
    // world position -> clip space of that face.
    static std::array<glm::mat4, cubeMapFaceCount> cubeFaceMatrices(const glm::vec3& centre);

    // Where the cube is rendered from: the world centre of the mesh's
    // bounding sphere, which every transformation keeps current.
    glm::vec3 cubeCentre() const;

    GLuint cubeFramebuffer() const { return cubeFramebuffer_.id(); }
    GLuint cubeColorTexture() const { return cubeColorTexture_.id(); }
    GLuint cubeDepthTexture() const { return cubeDepthTexture_.id(); }
    int cubeSize() const { return cubeSize_; }

private:
    GLFramebuffer cubeFramebuffer_;
    GLTexture cubeColorTexture_;
    GLTexture cubeDepthTexture_;
    int cubeSize_ = defaultCubeSize;
};
