#include "render/ParallaxGeometry.h"

#include "app/Settings.h"
#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "render/GLObject.h"
#include "render/Shader.h"
#include "scene/Camera.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <FreeImage.h>
#include <gtest/gtest.h>

#include <array>
#include <stdexcept>
#include <string>

using meshtest::MeshFiles;

namespace {

constexpr GLuint tangentLocation = 4;
constexpr GLuint bitangentLocation = 5;

// Reads each map on its own channel, so one pixel shows which units held a
// texture during the draw. The tangent frame feeds the alpha so that neither
// attribute can be optimised away.
const std::string reliefVertex = R"(#version 330 core
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
layout(location = 4) in vec3 in_tangent;
layout(location = 5) in vec3 in_bitangent;
uniform mat4 mvpMatrix;
out float frame;
void main()
{
    frame = dot(in_tangent + in_bitangent, in_normal + in_color + vec3(in_texCoords, 1.0));
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string reliefFragment = R"(#version 330 core
in float frame;
uniform sampler2D normalMap;
uniform sampler2D heightMap;
uniform sampler2D specularMap;
uniform int useSpecularMap;
out vec4 out_color;
void main()
{
    float specular = useSpecularMap == 1 ? texture(specularMap, vec2(0.5)).b : 0.0;
    out_color = vec4(texture(normalMap, vec2(0.5)).r, texture(heightMap, vec2(0.5)).g, specular,
                     clamp(frame, 0.0, 1.0));
}
)";

// A square facing +Z with texture coordinates, so the import can build tangents.
const std::string squareObj = R"(v -10 -10 -5
v 10 -10 -5
v 10 10 -5
v -10 10 -5
vt 0 0
vt 1 0
vt 1 1
vt 0 1
vn 0 0 1
f 1/1/1 2/2/1 3/3/1 4/4/1
)";

// A 2x2 opaque PNG of one colour in the texture manager's folder.
bool writeColourTexture(const std::string& name, BYTE red, BYTE green, BYTE blue)
{
    FIBITMAP* image = FreeImage_Allocate(2, 2, 24);
    RGBQUAD colour{blue, green, red, 0};
    FreeImage_FillBackground(image, &colour);
    const std::string path = TextureManager::getInstance()->getTextureDirectory() + name;
    const bool saved = FreeImage_Save(FIF_PNG, image, path.c_str(), 0) != FALSE;
    FreeImage_Unload(image);
    return saved;
}

GLint boundTexture(GLenum unit)
{
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE, &active);
    glActiveTexture(unit);
    GLint id = -1;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &id);
    glActiveTexture(static_cast<GLenum>(active));
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

// A prepared relief square in front of a camera at the origin, its program
// current and an 8x8 colour target bound.
struct ReliefScene {
    ReliefScene()
    {
        files.texture("white.png");
        writeColourTexture("normals.png", 255, 0, 0);
        writeColourTexture("heights.png", 0, 255, 0);
        writeColourTexture("specular.png", 0, 0, 255);
        loaded = piece.mesh->loadMesh(files.model("square.obj", squareObj), true);
        frustumCulling = false;

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
    ~ReliefScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        frustumCulling = savedCulling;
    }
    ReliefScene(const ReliefScene&) = delete;
    ReliefScene& operator=(const ReliefScene&) = delete;

    std::array<GLubyte, 4> centrePixel() const
    {
        std::array<GLubyte, 4> pixel{};
        glReadPixels(4, 4, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, pixel.data());
        return pixel;
    }

    const bool savedCulling = frustumCulling;
    MeshFiles files{true};
    ScratchDir folder;
    Shader program{[this] {
        folder.write("relief.vert", reliefVertex);
        folder.write("relief.frag", reliefFragment);
        return (folder.path() / "relief").string();
    }()};
    ParallaxGeometry piece;
    Camera camera;
    GLTexture target;
    GLFramebuffer framebuffer;
    bool loaded = false;
};

} // namespace

TEST(ParallaxGeometryDraw, PrepareAddsTheTangentFrameToTheVertexArray)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    ASSERT_EQ(scene.program.location(ShaderLocation::in_tangent), static_cast<GLint>(tangentLocation));

    scene.piece.prepare(scene.program, true);

    ParallaxGeometry& piece = scene.piece;
    ASSERT_TRUE(piece.prepared);
    EXPECT_TRUE(glIsBuffer(piece.tangentBuffer.id()));
    EXPECT_TRUE(glIsBuffer(piece.bitangentBuffer.id()));
    GLint vertexArray = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &vertexArray);
    EXPECT_EQ(vertexArray, 0);

    glBindVertexArray(piece.vertexArray.id());
    const std::array<std::pair<GLuint, GLuint>, 2> attributes{
        {{tangentLocation, piece.tangentBuffer.id()}, {bitangentLocation, piece.bitangentBuffer.id()}}};
    for (const auto& [location, buffer] : attributes) {
        GLint enabled = 0;
        GLint size = 0;
        GLint source = 0;
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_ENABLED, &enabled);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_SIZE, &size);
        glGetVertexAttribiv(location, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &source);
        EXPECT_EQ(enabled, GL_TRUE) << "attribute " << location;
        EXPECT_EQ(size, 3) << "attribute " << location;
        EXPECT_EQ(source, static_cast<GLint>(buffer)) << "attribute " << location;
    }
    glBindVertexArray(0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ParallaxGeometryDraw, ASecondPrepareKeepsTheTangentBuffers)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    scene.piece.prepare(scene.program, true);
    const GLuint tangents = scene.piece.tangentBuffer.id();
    const GLuint bitangents = scene.piece.bitangentBuffer.id();

    scene.piece.prepare(scene.program, false);

    EXPECT_EQ(scene.piece.tangentBuffer.id(), tangents);
    EXPECT_EQ(scene.piece.bitangentBuffer.id(), bitangents);
    EXPECT_TRUE(scene.piece.textured);
}

TEST(ParallaxGeometryDraw, TheMapsAreBoundDuringTheDrawAndReleasedAfterIt)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    ParallaxGeometry& piece = scene.piece;
    ASSERT_TRUE(piece.setMaps("normals.png", "heights.png"));
    ASSERT_TRUE(piece.setSpecularMap("specular.png"));
    piece.prepare(scene.program, true);

    piece.draw(scene.camera);

    const std::array<GLubyte, 4> pixel = scene.centrePixel();
    EXPECT_EQ(pixel[0], 255) << "normal map not on its unit during the draw";
    EXPECT_EQ(pixel[1], 255) << "height map not on its unit during the draw";
    EXPECT_EQ(pixel[2], 255) << "specular map not on its unit during the draw";
    EXPECT_EQ(readInt(scene.program, ShaderLocation::normalMap), 5);
    EXPECT_EQ(readInt(scene.program, ShaderLocation::heightMap), 6);
    EXPECT_EQ(readInt(scene.program, ShaderLocation::specularMap), 7);
    EXPECT_EQ(readInt(scene.program, ShaderLocation::useSpecularMap), 1);
    EXPECT_EQ(boundTexture(GL_TEXTURE5), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE6), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE7), 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ParallaxGeometryDraw, WithoutASpecularMapUnitSevenIsLeftAlone)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    ParallaxGeometry& piece = scene.piece;
    ASSERT_TRUE(piece.setMaps("normals.png", "heights.png"));
    EXPECT_FALSE(piece.setSpecularMap("missingSpecular.png"));
    piece.prepare(scene.program, true);
    // Whatever another draw left on unit 7 must still be there afterwards.
    GLTexture other = GLTexture::create();
    glActiveTexture(GL_TEXTURE7);
    glBindTexture(GL_TEXTURE_2D, other.id());
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(scene.program.location(ShaderLocation::specularMap), 3);
    glUniform1i(scene.program.location(ShaderLocation::useSpecularMap), 1);

    piece.draw(scene.camera);

    EXPECT_EQ(readInt(scene.program, ShaderLocation::useSpecularMap), 0);
    EXPECT_EQ(readInt(scene.program, ShaderLocation::specularMap), 3);
    EXPECT_EQ(boundTexture(GL_TEXTURE7), static_cast<GLint>(other.id()));
    const std::array<GLubyte, 4> pixel = scene.centrePixel();
    EXPECT_EQ(pixel[0], 255);
    EXPECT_EQ(pixel[1], 255);
    EXPECT_EQ(pixel[2], 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE5), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE6), 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
}

TEST(ParallaxGeometryDraw, AMapThatNeverLoadedLeavesItsUnitEmpty)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    ParallaxGeometry& piece = scene.piece;
    EXPECT_FALSE(piece.setMaps("missingNormals.png", "heights.png"));
    piece.prepare(scene.program, true);

    piece.draw(scene.camera);

    // Neither map is bound: the normal map is missing and the height map was skipped.
    const std::array<GLubyte, 4> pixel = scene.centrePixel();
    EXPECT_EQ(pixel[0], 0);
    EXPECT_EQ(pixel[1], 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
}

TEST(ParallaxGeometryDraw, AnUnpreparedDrawThrowsBeforeBindingAnything)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.piece.setMaps("normals.png", "heights.png"));

    try {
        scene.piece.draw(scene.camera);
        ADD_FAILURE() << "the draw did not throw";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Geometry has not been prepared!");
    }
    EXPECT_EQ(boundTexture(GL_TEXTURE5), 0);
    EXPECT_EQ(boundTexture(GL_TEXTURE6), 0);
    EXPECT_EQ(activeUnit(), GL_TEXTURE0);
}

TEST(ParallaxGeometryDraw, DestructionDeletesTheTangentBuffers)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    auto* piece = new ParallaxGeometry();
    ASSERT_TRUE(piece->mesh->loadMesh(scene.files.modelPath("square.obj"), true));
    piece->prepare(scene.program, true);
    const GLuint tangents = piece->tangentBuffer.id();
    const GLuint bitangents = piece->bitangentBuffer.id();
    ASSERT_TRUE(glIsBuffer(tangents));

    delete piece;

    EXPECT_FALSE(glIsBuffer(tangents));
    EXPECT_FALSE(glIsBuffer(bitangents));
}
