#include "assets/Mesh.h"
#include "render/Shader.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"
#include "support/ScratchDir.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using meshtest::MeshFiles;

namespace {

// Fixed locations away from 0, so a pointer set at the wrong index shows.
constexpr GLuint positionLocation = 2;
constexpr GLuint normalLocation = 5;
constexpr GLuint colorLocation = 7;
constexpr GLuint texCoordsLocation = 9;
constexpr GLuint tangentLocation = 3;
constexpr GLuint bitangentLocation = 6;

const std::string litVertex = R"(#version 330 core
layout(location = 2) in vec4 in_position;
layout(location = 5) in vec3 in_normal;
layout(location = 7) in vec3 in_color;
layout(location = 9) in vec2 in_texCoords;
out vec3 shade;
void main()
{
    shade = in_normal + in_color + vec3(in_texCoords, 0.0);
    gl_Position = in_position;
}
)";

// Leaves out in_color, whose location is then -1.
const std::string colourlessVertex = R"(#version 330 core
layout(location = 2) in vec4 in_position;
layout(location = 5) in vec3 in_normal;
layout(location = 9) in vec2 in_texCoords;
out vec3 shade;
void main()
{
    shade = in_normal + vec3(in_texCoords, 0.0);
    gl_Position = in_position;
}
)";

const std::string tangentVertex = R"(#version 330 core
layout(location = 2) in vec4 in_position;
layout(location = 3) in vec3 in_tangent;
layout(location = 6) in vec3 in_bitangent;
out vec3 shade;
void main()
{
    shade = in_tangent + in_bitangent;
    gl_Position = in_position;
}
)";

const std::string fragment = R"(#version 330 core
in vec3 shade;
out vec4 out_color;
void main()
{
    out_color = vec4(shade, 1.0);
}
)";

const std::string twoPiecesObj = R"(v 0 0 0
v 1 0 0
v 1 1 0
v 0 1 0
v 3 0 0
v 4 0 0
v 4 1 0
vt 0 0
vt 1 0
vt 1 1
vt 0 1
o first
f 1/1 2/2 3/3 4/4
o second
f 5/1 6/2 7/3
)";

std::string writeShader(const ScratchDir& scratch, const std::string& name, const std::string& vertexSource)
{
    scratch.write(name + ".vert", vertexSource);
    scratch.write(name + ".frag", fragment);
    return (scratch.path() / name).string();
}

GLint attribute(GLuint index, GLenum parameter)
{
    GLint value = -1;
    glGetVertexAttribiv(index, parameter, &value);
    return value;
}

std::uintptr_t attributeOffset(GLuint index)
{
    void* pointer = nullptr;
    glGetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    return reinterpret_cast<std::uintptr_t>(pointer);
}

void expectAttribute(GLuint index, GLint components, GLint stride, std::uintptr_t offset, GLuint buffer)
{
    SCOPED_TRACE(testing::Message() << "attribute " << index);
    EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_TRUE);
    EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_SIZE), components);
    EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_STRIDE), stride);
    EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_TYPE), GL_FLOAT);
    EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_NORMALIZED), GL_FALSE);
    EXPECT_EQ(attribute(index, GL_VERTEX_ATTRIB_ARRAY_BUFFER_BINDING), static_cast<GLint>(buffer));
    EXPECT_EQ(attributeOffset(index), offset);
}

GLint bufferSize(GLenum target)
{
    GLint size = -1;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    return size;
}

template <typename T>
std::vector<T> bufferContents(GLenum target, std::size_t count)
{
    std::vector<T> contents(count);
    glGetBufferSubData(target, 0, static_cast<GLsizeiptr>(count * sizeof(T)), contents.data());
    return contents;
}

// The GL objects a Geometry would own, made and freed around one test.
struct Buffers {
    Buffers()
    {
        glGenVertexArrays(1, &vertexArray);
        glBindVertexArray(vertexArray);
        glGenBuffers(4, ids);
    }
    ~Buffers()
    {
        glBindVertexArray(0);
        glDeleteBuffers(4, ids);
        glDeleteVertexArrays(1, &vertexArray);
    }
    Buffers(const Buffers&) = delete;
    Buffers& operator=(const Buffers&) = delete;

    GLuint vertexArray = 0;
    GLuint ids[4]{};
};

} // namespace

TEST(MeshUpload, VertexAttributesPointIntoOneInterleavedBuffer)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ScratchDir shaders;
    Shader shader(writeShader(shaders, "lit", litVertex));
    ASSERT_NE(shader.program(), 0u);
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("pieces.obj", twoPiecesObj), false));
    ASSERT_EQ(mesh.indexCount, 9u);

    Buffers buffers;
    GLuint vertexBuffer = buffers.ids[0];
    GLuint indexBuffer = buffers.ids[1];
    EXPECT_TRUE(mesh.uploadBuffers(vertexBuffer, indexBuffer, shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    expectAttribute(positionLocation, 4, 48, 0, vertexBuffer);
    expectAttribute(normalLocation, 3, 48, 16, vertexBuffer);
    expectAttribute(colorLocation, 3, 48, 28, vertexBuffer);
    expectAttribute(texCoordsLocation, 2, 48, 40, vertexBuffer);
    for (GLuint unused : {0u, 1u, 3u, 4u, 6u, 8u}) {
        EXPECT_EQ(attribute(unused, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE) << unused;
    }

    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    ASSERT_EQ(bufferSize(GL_ARRAY_BUFFER), static_cast<GLint>(mesh.vertices.size() * 48));
    std::vector<MeshVertex> uploaded = bufferContents<MeshVertex>(GL_ARRAY_BUFFER, mesh.vertices.size());
    EXPECT_EQ(std::memcmp(uploaded.data(), mesh.vertices.data(), mesh.vertices.size() * sizeof(MeshVertex)), 0);

    // The element buffer binding belongs to the vertex array object.
    GLint boundIndices = 0;
    glGetIntegerv(GL_ELEMENT_ARRAY_BUFFER_BINDING, &boundIndices);
    EXPECT_EQ(boundIndices, static_cast<GLint>(indexBuffer));
    ASSERT_EQ(bufferSize(GL_ELEMENT_ARRAY_BUFFER), static_cast<GLint>(mesh.indexCount * 4));
    EXPECT_EQ(bufferContents<std::uint32_t>(GL_ELEMENT_ARRAY_BUFFER, mesh.indexCount), mesh.indices);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(MeshUpload, AttributeTheProgramDoesNotUseIsSkipped)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ScratchDir shaders;
    Shader shader(writeShader(shaders, "colourless", colourlessVertex));
    ASSERT_NE(shader.program(), 0u);
    ASSERT_EQ(shader.location(ShaderLocation::in_color), -1);
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("pieces.obj", twoPiecesObj), false));

    Buffers buffers;
    EXPECT_TRUE(mesh.uploadBuffers(buffers.ids[0], buffers.ids[1], shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    expectAttribute(positionLocation, 4, 48, 0, buffers.ids[0]);
    expectAttribute(texCoordsLocation, 2, 48, 40, buffers.ids[0]);
    EXPECT_EQ(attribute(colorLocation, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE);
}

TEST(MeshUpload, TangentsAndBitangentsGoToTheirOwnTightBuffers)
{
    GL_TEST_SETUP(context);
    MeshFiles files(true);
    ScratchDir shaders;
    Shader shader(writeShader(shaders, "tangent", tangentVertex));
    ASSERT_NE(shader.program(), 0u);
    Mesh mesh;
    ASSERT_TRUE(mesh.loadMesh(files.model("pieces.obj", twoPiecesObj), true));
    ASSERT_EQ(mesh.tangents.size(), mesh.vertexCount);

    Buffers buffers;
    ASSERT_TRUE(mesh.uploadBuffers(buffers.ids[0], buffers.ids[1], shader));
    EXPECT_TRUE(mesh.uploadTangentBuffers(buffers.ids[2], buffers.ids[3], shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    expectAttribute(tangentLocation, 3, 0, 0, buffers.ids[2]);
    expectAttribute(bitangentLocation, 3, 0, 0, buffers.ids[3]);

    glBindBuffer(GL_ARRAY_BUFFER, buffers.ids[2]);
    ASSERT_EQ(bufferSize(GL_ARRAY_BUFFER), static_cast<GLint>(mesh.vertexCount * 12));
    EXPECT_EQ(bufferContents<glm::vec3>(GL_ARRAY_BUFFER, mesh.vertexCount), mesh.tangents);
    glBindBuffer(GL_ARRAY_BUFFER, buffers.ids[3]);
    ASSERT_EQ(bufferSize(GL_ARRAY_BUFFER), static_cast<GLint>(mesh.vertexCount * 12));
    EXPECT_EQ(bufferContents<glm::vec3>(GL_ARRAY_BUFFER, mesh.vertexCount), mesh.bitangents);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(MeshUpload, EmptyMeshUploadsEmptyBuffers)
{
    GL_TEST_SETUP(context);
    ScratchDir shaders;
    Shader shader(writeShader(shaders, "lit", litVertex));
    ASSERT_NE(shader.program(), 0u);
    Mesh mesh;

    Buffers buffers;
    EXPECT_TRUE(mesh.uploadBuffers(buffers.ids[0], buffers.ids[1], shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    EXPECT_EQ(bufferSize(GL_ELEMENT_ARRAY_BUFFER), 0);
}
