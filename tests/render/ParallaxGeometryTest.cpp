#include "render/ParallaxGeometry.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "scene/Camera.h"

#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <string>

using namespace rendertest;

namespace {

// Reads each map on its own channel, so one pixel shows which units held a
// texture during the draw. The tangent frame feeds the alpha so that neither
// attribute is optimised away.
const std::string reliefVertex = meshInputs + R"(
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

GLuint idOf(const std::string& name)
{
    return TextureManager::getInstance()->textureId(name);
}

// A relief square in front of a camera at the origin, its program current and
// an 8x8 target bound; red, green and blue maps in the texture folder.
struct ReliefScene {
    ReliefScene()
    {
        files.texture("normals.png", 255, 0, 0);
        files.texture("heights.png", 0, 255, 0);
        files.texture("specular.png", 0, 0, 255);
        loaded = piece.mesh->loadMesh(files.model("square.obj", squareObj), true);
        frustumCulling = false;
        target.begin();
        glUseProgram(program.program());
    }
    ~ReliefScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    ReliefScene(const ReliefScene&) = delete;
    ReliefScene& operator=(const ReliefScene&) = delete;

    SettingsGuard settings;
    SceneFiles files;
    ScratchDir folder;
    Shader program{writeSources(folder, "relief", reliefVertex, reliefFragment)};
    ParallaxGeometry piece;
    Camera camera;
    RenderTarget target{8, 8};
    bool loaded = false;
};

} // namespace

TEST(ParallaxGeometryMaps, AMissingNormalMapSkipsTheHeightMapAndAMissingSpecularMapIsNotUsed)
{
    GL_TEST_SETUP(context);
    SceneFiles files;
    ASSERT_TRUE(files.texture("wallNormals.png") && files.texture("wallHeights.png"));
    ParallaxGeometry loaded;
    EXPECT_TRUE(loaded.setMaps("wallNormals.png", "wallHeights.png"));
    EXPECT_NE(idOf("wallNormals.png"), 0u);
    EXPECT_NE(idOf("wallHeights.png"), 0u);

    // The height map could be read: only skipping it keeps its id at 0.
    ASSERT_TRUE(files.texture("floorHeights.png"));
    ParallaxGeometry piece;
    EXPECT_FALSE(piece.setMaps("missingNormals.png", "floorHeights.png"));
    EXPECT_EQ(piece.normalMapName, "missingNormals.png");
    EXPECT_EQ(piece.heightMapName, "floorHeights.png");
    EXPECT_EQ(idOf("floorHeights.png"), 0u);

    EXPECT_FALSE(piece.setSpecularMap("missingSpecular.png"));
    EXPECT_FALSE(piece.hasSpecularMap);
}

TEST(ParallaxGeometryDraw, PrepareAddsTheTangentFrameToTheVertexArrayOnce)
{
    GL_TEST_SETUP(context);
    ReliefScene scene;
    ASSERT_TRUE(scene.loaded);
    ParallaxGeometry& piece = scene.piece;

    piece.prepare(scene.program, true);

    ASSERT_TRUE(piece.prepared);
    EXPECT_EQ(integerState(GL_VERTEX_ARRAY_BINDING), 0);
    glBindVertexArray(piece.vertexArray.id());
    for (const auto& [location, buffer] : {std::pair(4u, piece.tangentBuffer.id()),
                                           std::pair(5u, piece.bitangentBuffer.id())}) {
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

    const GLuint tangents = piece.tangentBuffer.id();
    piece.prepare(scene.program, false);
    EXPECT_EQ(piece.tangentBuffer.id(), tangents);
    EXPECT_TRUE(piece.textured);
}

TEST(ParallaxGeometryDraw, TheMapsAreBoundDuringTheDrawAndReleasedAfterIt)
{
    GL_TEST_SETUP(context);
    for (const bool withSpecular : {true, false}) {
        SCOPED_TRACE(withSpecular ? "with a specular map" : "without a specular map");
        ReliefScene scene;
        ASSERT_TRUE(scene.loaded);
        ParallaxGeometry& piece = scene.piece;
        ASSERT_TRUE(piece.setMaps("normals.png", "heights.png"));
        EXPECT_EQ(piece.setSpecularMap(withSpecular ? "specular.png" : "missing.png"), withSpecular);
        piece.prepare(scene.program, true);
        // Whatever another draw left on unit 7 stays there when there is no specular map.
        const GLTexture other = GLTexture::create();
        bindTexture(GL_TEXTURE7, GL_TEXTURE_2D, other.id());
        glUniform1i(scene.program.location(ShaderLocation::specularMap), 3);
        glUniform1i(scene.program.location(ShaderLocation::useSpecularMap), 1);

        piece.draw(LitPass{scene.program, scene.camera});

        const Pixel pixel = scene.target.at(scene.target.read(), 4, 4);
        EXPECT_EQ(pixel[0], 255) << "normal map not on its unit during the draw";
        EXPECT_EQ(pixel[1], 255) << "height map not on its unit during the draw";
        EXPECT_EQ(pixel[2], withSpecular ? 255 : 0) << "specular map";
        EXPECT_EQ(readInt(scene.program, ShaderLocation::normalMap), 5);
        EXPECT_EQ(readInt(scene.program, ShaderLocation::heightMap), 6);
        EXPECT_EQ(readInt(scene.program, ShaderLocation::specularMap), withSpecular ? 7 : 3);
        EXPECT_EQ(readInt(scene.program, ShaderLocation::useSpecularMap), withSpecular ? 1 : 0);
        EXPECT_EQ(boundTexture(GL_TEXTURE5), 0);
        EXPECT_EQ(boundTexture(GL_TEXTURE6), 0);
        EXPECT_EQ(boundTexture(GL_TEXTURE7), withSpecular ? 0 : static_cast<GLint>(other.id()));
        EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}
