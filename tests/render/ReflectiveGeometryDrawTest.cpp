#include "render/ReflectiveGeometry.h"

#include "app/Settings.h"
#include "assets/Mesh.h"
#include "render/GLObject.h"
#include "render/Shader.h"
#include "scene/Camera.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>
#include <vector>

using meshtest::MeshFiles;

namespace {

const std::string mirrorVertex = R"(#version 330 core
layout(location = 0) in vec4 in_position;
uniform mat4 mvpMatrix;
void main()
{
    gl_Position = mvpMatrix * in_position;
}
)";

// Shows the cube while the reflective switch is on, plain green otherwise.
const std::string mirrorFragment = R"(#version 330 core
uniform samplerCube environmentMap;
uniform int isReflective;
out vec4 out_color;
void main()
{
    out_color = isReflective == 1 ? texture(environmentMap, vec3(1.0, 0.0, 0.0)) : vec4(0.0, 1.0, 0.0, 1.0);
}
)";

// A square facing +Z, wide enough to cover the view of a camera at the origin.
const std::string squareObj = R"(v -10 -10 -5
v 10 -10 -5
v 10 10 -5
v -10 10 -5
f 1 2 3 4
)";

using Pixel = std::array<GLubyte, 4>;

GLint boundCube(GLenum unit)
{
    glActiveTexture(unit);
    GLint id = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_CUBE_MAP, &id);
    glActiveTexture(GL_TEXTURE0);
    return id;
}

GLint activeUnit()
{
    GLint unit = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &unit);
    return unit;
}

GLint readInt(Shader& program, ShaderLocation key)
{
    GLint value = -1;
    EXPECT_GE(program.location(key), 0) << "the test program lost a uniform";
    glGetUniformiv(program.program(), program.location(key), &value);
    return value;
}

// Every face of the cube one magenta, as if the cube pass had just run.
void paintCube(GLuint cube, int size)
{
    const std::vector<GLubyte> magenta = [size] {
        std::vector<GLubyte> texels;
        for (int i = 0; i < size * size; ++i) {
            texels.insert(texels.end(), {255, 0, 255});
        }
        return texels;
    }();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    for (GLenum face = GL_TEXTURE_CUBE_MAP_POSITIVE_X; face <= GL_TEXTURE_CUBE_MAP_NEGATIVE_Z; ++face) {
        glTexSubImage2D(face, 0, 0, 0, size, size, GL_RGB, GL_UNSIGNED_BYTE, magenta.data());
    }
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

// A prepared reflective square and a plain one in front of a camera at the
// origin, sharing the mirror program, which is current, with an 8x8 target.
struct MirrorScene {
    MirrorScene()
    {
        files.texture("white.png");
        const std::string square = files.model("square.obj", squareObj);
        loaded = reflective.mesh->loadMesh(square, false) && plain.mesh->loadMesh(square, false);
        reflective.prepare(program, false);
        plain.prepare(program, false);
        paintCube(reflective.cubeColorTexture(), reflective.cubeSize());
        camera.translate(0.0f, 0.0f, 0.0f);

        target = GLTexture::create();
        glBindTexture(GL_TEXTURE_2D, target.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 8, 8, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        glBindTexture(GL_TEXTURE_2D, 0);
        framebuffer = GLFramebuffer::create();
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffer.id());
        glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, target.id(), 0);
        glViewport(0, 0, 8, 8);
        glClear(GL_COLOR_BUFFER_BIT);
        glUseProgram(program.program());
    }
    ~MirrorScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        frustumCulling = savedCulling;
    }
    MirrorScene(const MirrorScene&) = delete;
    MirrorScene& operator=(const MirrorScene&) = delete;

    Pixel centrePixel() const
    {
        Pixel pixel{};
        glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return pixel;
    }

    const bool savedCulling = frustumCulling;
    MeshFiles files{true};
    ScratchDir folder;
    Shader program{[this] {
        folder.write("mirror.vert", mirrorVertex);
        folder.write("mirror.frag", mirrorFragment);
        return (folder.path() / "mirror").string();
    }()};
    ReflectiveGeometry reflective;
    Geometry plain;
    Camera camera;
    GLTexture target;
    GLFramebuffer framebuffer;
    bool loaded = false;
};

} // namespace

TEST(ReflectiveGeometryDraw, TheCubeIsOnUnitFourDuringTheDrawAndReleasedAfterIt)
{
    GL_TEST_SETUP(context);
    MirrorScene scene;
    ASSERT_TRUE(scene.loaded);
    ASSERT_NE(scene.program.program(), 0u);

    scene.reflective.draw(scene.camera);

    EXPECT_EQ(scene.centrePixel(), (Pixel{255, 0, 255, 255}));
    EXPECT_EQ(readInt(scene.program, ShaderLocation::environmentMap), 4);
    // Geometry's draw switched the reflection off again at its end.
    EXPECT_EQ(readInt(scene.program, ShaderLocation::isReflective), 0);
    EXPECT_EQ(boundCube(GL_TEXTURE4), 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ReflectiveGeometryDraw, TheNextObjectIsNotReflectiveAfterADrawnOne)
{
    GL_TEST_SETUP(context);
    MirrorScene scene;
    ASSERT_TRUE(scene.loaded);
    scene.reflective.draw(scene.camera);

    scene.plain.draw(scene.camera);

    EXPECT_EQ(scene.centrePixel(), (Pixel{0, 255, 0, 255}));
}

TEST(ReflectiveGeometryDraw, ACulledReflectiveObjectLeavesTheNextObjectNotReflective)
{
    GL_TEST_SETUP(context);
    MirrorScene scene;
    ASSERT_TRUE(scene.loaded);
    frustumCulling = true;
    // Behind the camera, so the frustum rejects it.
    scene.reflective.translate(0.0f, 0.0f, 40.0f);

    scene.reflective.draw(scene.camera);

    EXPECT_EQ(readInt(scene.program, ShaderLocation::isReflective), 0);
    EXPECT_EQ(scene.centrePixel(), (Pixel{0, 0, 0, 0})) << "a culled object drew";
    EXPECT_EQ(boundCube(GL_TEXTURE4), 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);

    scene.plain.draw(scene.camera);

    EXPECT_EQ(scene.centrePixel(), (Pixel{0, 255, 0, 255}));
}

TEST(ReflectiveGeometryDraw, AnUnpreparedDrawThrowsBeforeBindingTheCube)
{
    GL_TEST_SETUP(context);
    ReflectiveGeometry reflective;
    Camera camera;

    try {
        reflective.draw(camera);
        ADD_FAILURE() << "the draw did not throw";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Geometry has not been prepared!");
    }
    EXPECT_EQ(boundCube(GL_TEXTURE4), 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
}
