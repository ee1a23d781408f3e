#include "render/Geometry.h"

#include "assets/Mesh.h"
#include "render/Shader.h"
#include "scene/Camera.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>

using meshtest::MeshFiles;

namespace {

const std::string vertexSource = R"(#version 330 core
layout(location = 0) in vec4 in_position;
layout(location = 1) in vec3 in_normal;
layout(location = 2) in vec3 in_color;
layout(location = 3) in vec2 in_texCoords;
uniform mat4 mvpMatrix;
out vec3 shade;
void main()
{
    shade = in_normal + in_color + vec3(in_texCoords, 0.0);
    gl_Position = mvpMatrix * in_position;
}
)";

const std::string fragmentSource = R"(#version 330 core
in vec3 shade;
out vec4 out_color;
void main()
{
    out_color = vec4(shade, 1.0);
}
)";

const std::string triangleObj = R"(v 0 0 0
v 1 0 0
v 0 1 0
f 1 2 3
)";

std::string writeProgram(const ScratchDir& folder, const std::string& name)
{
    folder.write(name + ".vert", vertexSource);
    folder.write(name + ".frag", fragmentSource);
    return (folder.path() / name).string();
}

// The message of what run throws, or "" when it throws nothing.
std::string errorFrom(const std::function<void()>& run)
{
    try {
        run();
    } catch (const std::runtime_error& error) {
        return error.what();
    }
    return "";
}

GLint boundVertexArray()
{
    GLint id = -1;
    glGetIntegerv(GL_VERTEX_ARRAY_BINDING, &id);
    return id;
}

} // namespace

TEST(GeometryPrepare, EveryDrawOfAnUnpreparedGeometryThrows)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    Shader program(writeProgram(folder, "plain"));
    ASSERT_NE(program.program(), 0u);
    Geometry geometry;
    Camera camera;
    camera.setTransform(glm::mat4(1.0f), glm::mat4(1.0f));
    ViewFrustum lightFrustum(120.0f, 1.0f, 5.0f, 80.0f);
    const ShadowCaster light(lightFrustum, 5.0f, 80.0f, glm::mat4(1.0f));
    const glm::mat4 model(1.0f);
    const glm::mat3 normal(1.0f);
    const BoundingSphere sphere;

    const std::string expected = "Geometry has not been prepared!";
    EXPECT_EQ(errorFrom([&] { geometry.draw(camera); }), expected);
    EXPECT_EQ(errorFrom([&] { geometry.drawWithTransform(camera, model, normal, sphere, geometry.shadowMatrices); }),
              expected);
    EXPECT_EQ(errorFrom([&] { geometry.drawShadow(light, model, sphere, 0); }), expected);
    EXPECT_EQ(errorFrom([&] {
                  geometry.drawToCubeMap(program, glm::vec3(0.0f), model, normal, geometry.shadowMatrices);
              }),
              expected);
    EXPECT_EQ(errorFrom([&] { geometry.drawVelocity(camera, program); }), expected);
    EXPECT_EQ(errorFrom([&] { geometry.drawVelocityWithTransform(camera, program, model, model, sphere); }),
              expected);
}

TEST(GeometryPrepare, AnEmptyMeshIsNeverPrepared)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    Shader program(writeProgram(folder, "plain"));
    MeshFiles files(true);
    Geometry geometry;
    // A model file that cannot be read leaves the mesh empty.
    meshtest::printedBy([&] { EXPECT_FALSE(geometry.mesh->loadMesh(files.modelPath("missing.obj"), false)); });

    geometry.prepare(program, true);

    EXPECT_FALSE(geometry.prepared);
    EXPECT_FALSE(geometry.textured);
    EXPECT_EQ(geometry.shader, nullptr);
    EXPECT_EQ(geometry.vertexArray.id(), 0u);
    Camera camera;
    EXPECT_THROW(geometry.draw(camera), std::runtime_error);
}

TEST(GeometryPrepare, MakesOneVertexArrayWithBothBuffersAndUnbindsIt)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    Shader program(writeProgram(folder, "plain"));
    MeshFiles files(true);
    files.texture("white.png");
    Geometry geometry;
    ASSERT_TRUE(geometry.mesh->loadMesh(files.model("triangle.obj", triangleObj), false));

    geometry.prepare(program, true);

    ASSERT_TRUE(geometry.prepared);
    EXPECT_TRUE(geometry.textured);
    EXPECT_EQ(geometry.shader, &program);
    EXPECT_EQ(boundVertexArray(), 0);
    EXPECT_TRUE(glIsVertexArray(geometry.vertexArray.id()));
    EXPECT_TRUE(glIsBuffer(geometry.vertexBuffer.id()));
    EXPECT_TRUE(glIsBuffer(geometry.indexBuffer.id()));
    EXPECT_NE(geometry.vertexBuffer.id(), geometry.indexBuffer.id());

    // The index buffer is part of the vertex array, so a draw needs one bind.
    glBindVertexArray(geometry.vertexArray.id());
    GLint elementBuffer = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &elementBuffer);
    GLint positionBuffer = 0;
    glGetVertexAttribiv(0, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING, &positionBuffer);
    glBindVertexArray(0);
    EXPECT_EQ(elementBuffer, static_cast<GLint>(geometry.indexBuffer.id()));
    EXPECT_EQ(positionBuffer, static_cast<GLint>(geometry.vertexBuffer.id()));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(GeometryPrepare, ASecondPrepareChangesNothing)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    Shader first(writeProgram(folder, "first"));
    Shader second(writeProgram(folder, "second"));
    MeshFiles files(true);
    files.texture("white.png");
    Geometry geometry;
    ASSERT_TRUE(geometry.mesh->loadMesh(files.model("triangle.obj", triangleObj), false));
    geometry.prepare(first, false);
    const GLuint vertexArray = geometry.vertexArray.id();
    const GLuint vertexBuffer = geometry.vertexBuffer.id();
    const GLuint indexBuffer = geometry.indexBuffer.id();

    geometry.prepare(second, true);

    EXPECT_EQ(geometry.vertexArray.id(), vertexArray);
    EXPECT_EQ(geometry.vertexBuffer.id(), vertexBuffer);
    EXPECT_EQ(geometry.indexBuffer.id(), indexBuffer);
    EXPECT_EQ(geometry.shader, &first);
    EXPECT_FALSE(geometry.textured);
}

TEST(GeometryPrepare, DestructionDeletesTheGLObjects)
{
    GL_TEST_SETUP(context);
    ScratchDir folder;
    Shader program(writeProgram(folder, "plain"));
    MeshFiles files(true);
    files.texture("white.png");
    auto* geometry = new Geometry();
    ASSERT_TRUE(geometry->mesh->loadMesh(files.model("triangle.obj", triangleObj), false));
    geometry->prepare(program, false);
    const GLuint vertexArray = geometry->vertexArray.id();
    const GLuint vertexBuffer = geometry->vertexBuffer.id();
    const GLuint indexBuffer = geometry->indexBuffer.id();

    delete geometry;

    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_FALSE(glIsBuffer(vertexBuffer));
    EXPECT_FALSE(glIsBuffer(indexBuffer));
}
