#include "assets/AssetTestSupport.h"
#include "assets/Mesh.h"
#include "gl/GLObject.h"
#include "gl/Shader.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

using assettest::AssetFolder;

namespace {

// Attribute locations away from 0, so a pointer set at the wrong index shows.
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

// Uses neither normal, colour nor texture coordinates: uploadBuffers must skip them.
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

const std::string twoPiecesObj = "v 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nv 3 0 0\nv 4 0 0\nv 4 1 0\n"
                                 "vt 0 0\nvt 1 0\nvt 1 1\nvt 0 1\n"
                                 "o first\nf 1/1 2/2 3/3 4/4\no second\nf 5/1 6/2 7/3\n";

GLint attribute(GLuint index, GLenum parameter)
{
    GLint value = -1;
    glGetVertexAttribiv(index, parameter, &value);
    return value;
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
    void* pointer = nullptr;
    glGetVertexAttribPointerv(index, GL_VERTEX_ATTRIB_ARRAY_POINTER, &pointer);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(pointer), offset);
}

// The whole of the buffer bound at target, as values of T.
template <typename T>
std::vector<T> bufferContents(GLenum target)
{
    GLint size = 0;
    glGetBufferParameteriv(target, GL_BUFFER_SIZE, &size);
    std::vector<T> contents(static_cast<size_t>(size) / sizeof(T));
    glGetBufferSubData(target, 0, static_cast<GLsizeiptr>(contents.size() * sizeof(T)), contents.data());
    return contents;
}

std::string writeShader(const AssetFolder& files, const std::string& vertexSource)
{
    files.write("probe.vert", vertexSource);
    files.write("probe.frag", fragment);
    return files.path("probe");
}

// A program built from the vertex source, a mesh of two pieces and the GL
// objects a Geometry would own, with its vertex array bound.
struct UploadScene {
    UploadScene(const std::string& vertexSource, bool withTangents)
        : shader(writeShader(files, vertexSource))
    {
        loaded = mesh.loadMesh(files.write("pieces.obj", twoPiecesObj), withTangents);
        vertexArray = GLVertexArray::create();
        glBindVertexArray(vertexArray.id());
        for (GLBuffer& buffer : buffers) {
            buffer = GLBuffer::create();
        }
    }
    ~UploadScene() { glBindVertexArray(0); }

    AssetFolder files;
    Shader shader;
    Mesh mesh;
    bool loaded = false;
    GLVertexArray vertexArray;
    std::array<GLBuffer, 4> buffers;
};

} // namespace

TEST(MeshUpload, VertexAttributesPointIntoOneInterleavedBuffer)
{
    GL_TEST_SETUP(context);
    UploadScene scene(litVertex, false);
    ASSERT_NE(scene.shader.program(), 0u);
    ASSERT_TRUE(scene.loaded);
    const Mesh& mesh = scene.mesh;
    const GLuint vertexBuffer = scene.buffers[0].id();
    EXPECT_TRUE(scene.mesh.uploadBuffers(vertexBuffer, scene.buffers[1].id(), scene.shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    expectAttribute(2, 4, 48, 0, vertexBuffer);
    expectAttribute(5, 3, 48, 16, vertexBuffer);
    expectAttribute(7, 3, 48, 28, vertexBuffer);
    expectAttribute(9, 2, 48, 40, vertexBuffer);
    for (GLuint unused : {0u, 1u, 3u, 4u, 6u, 8u}) {
        EXPECT_EQ(attribute(unused, GL_VERTEX_ATTRIB_ARRAY_ENABLED), GL_FALSE) << unused;
    }
    glBindBuffer(GL_ARRAY_BUFFER, vertexBuffer);
    const std::vector<MeshVertex> uploaded = bufferContents<MeshVertex>(GL_ARRAY_BUFFER);
    ASSERT_EQ(uploaded.size(), mesh.vertices.size());
    EXPECT_EQ(std::memcmp(uploaded.data(), mesh.vertices.data(), uploaded.size() * sizeof(MeshVertex)), 0);
    // The element buffer binding belongs to the vertex array object.
    EXPECT_EQ(bufferContents<std::uint32_t>(GL_ELEMENT_ARRAY_BUFFER), mesh.indices);
    EXPECT_EQ(mesh.indices.size(), 9u);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

TEST(MeshUpload, TangentsGoToTheirOwnBuffersOnlyWhenLoadedWithTangents)
{
    GL_TEST_SETUP(context);
    UploadScene scene(tangentVertex, true);
    ASSERT_NE(scene.shader.program(), 0u);
    ASSERT_TRUE(scene.loaded);
    ASSERT_TRUE(scene.mesh.uploadBuffers(scene.buffers[0].id(), scene.buffers[1].id(), scene.shader));
    EXPECT_TRUE(scene.mesh.uploadTangentBuffers(scene.buffers[2].id(), scene.buffers[3].id(), scene.shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));

    expectAttribute(3, 3, 0, 0, scene.buffers[2].id());
    expectAttribute(6, 3, 0, 0, scene.buffers[3].id());
    glBindBuffer(GL_ARRAY_BUFFER, scene.buffers[2].id());
    EXPECT_EQ(bufferContents<glm::vec3>(GL_ARRAY_BUFFER), scene.mesh.tangents);
    glBindBuffer(GL_ARRAY_BUFFER, scene.buffers[3].id());
    EXPECT_EQ(bufferContents<glm::vec3>(GL_ARRAY_BUFFER), scene.mesh.bitangents);

    Mesh without;
    ASSERT_TRUE(without.loadMesh(scene.files.path("pieces.obj"), false));
    EXPECT_TRUE(without.tangents.empty());
    EXPECT_FALSE(without.uploadTangentBuffers(scene.buffers[2].id(), scene.buffers[3].id(), scene.shader));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
