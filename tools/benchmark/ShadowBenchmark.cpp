#include "ShadowBenchmark.h"

#include "gl/GLObject.h"
#include "render/Light.h"
#include "gl/Shader.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>
#include <glm/gtc/matrix_transform.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// 160 x 160 quads: 51,200 triangles, about what the room and its show pieces
// put into one light's map.
constexpr int gridQuads = 160;
constexpr float gridSize = 60.0f; // scene units; the light's cone covers it at 20 units up
// Enough frames for the driver's first-use work to be over before timing.
constexpr int warmUpFrames = 10;
constexpr int timedFrames = 50;
constexpr GLsizei mapSize = 1024;

// A rolling floor, so that the moments vary across the map as over real casters.
struct CasterMesh {
    std::vector<glm::vec4> positions;
    std::vector<std::uint32_t> indices;
};

CasterMesh rollingFloor()
{
    CasterMesh mesh;
    const int verticesPerSide = gridQuads + 1;
    for (int row = 0; row < verticesPerSide; ++row) {
        for (int column = 0; column < verticesPerSide; ++column) {
            const float x = (static_cast<float>(column) / gridQuads - 0.5f) * gridSize;
            const float z = (static_cast<float>(row) / gridQuads - 0.5f) * gridSize;
            const float y = 1.5f * std::sin(x * 0.4f) * std::cos(z * 0.3f);
            mesh.positions.emplace_back(x, y, z, 1.0f);
        }
    }
    for (int row = 0; row < gridQuads; ++row) {
        for (int column = 0; column < gridQuads; ++column) {
            const auto corner = static_cast<std::uint32_t>(row * verticesPerSide + column);
            const auto below = corner + static_cast<std::uint32_t>(verticesPerSide);
            mesh.indices.insert(mesh.indices.end(), {corner, below, corner + 1, corner + 1, below, below + 1});
        }
    }
    return mesh;
}

struct GpuMesh {
    GLVertexArray vertexArray;
    GLBuffer vertexBuffer;
    GLBuffer indexBuffer;
    GLsizei indexCount = 0;
};

GpuMesh upload(const CasterMesh& mesh)
{
    GpuMesh gpu{GLVertexArray::create(), GLBuffer::create(), GLBuffer::create(),
                static_cast<GLsizei>(mesh.indices.size())};
    glBindVertexArray(gpu.vertexArray.id());
    glBindBuffer(GL_ARRAY_BUFFER, gpu.vertexBuffer.id());
    glBufferData(GL_ARRAY_BUFFER, static_cast<GLsizeiptr>(mesh.positions.size() * sizeof(glm::vec4)),
                 mesh.positions.data(), GL_STATIC_DRAW);
    const GLuint positionLocation = 0; // shared by every geometry program
    glVertexAttribPointer(positionLocation, 4, GL_FLOAT, GL_FALSE, 0, nullptr);
    glEnableVertexAttribArray(positionLocation);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, gpu.indexBuffer.id());
    glBufferData(GL_ELEMENT_ARRAY_BUFFER,
                 static_cast<GLsizeiptr>(mesh.indices.size() * sizeof(std::uint32_t)),
                 mesh.indices.data(), GL_STATIC_DRAW);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return gpu;
}

// The shadow pass as the frame pipeline runs it for one light.
void drawShadowPass(const Light& light, Shader& shadowProgram, const GpuMesh& mesh)
{
    glBindFramebuffer(GL_FRAMEBUFFER, light.shadowFramebuffer());
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glViewport(0, 0, mapSize, mapSize);
    glEnable(GL_DEPTH_TEST);
    glUseProgram(shadowProgram.program());
    const glm::mat4 projection = glm::perspective(glm::radians(Light::shadowFieldOfView),
                                                  Light::shadowAspect, light.nearPlane(),
                                                  light.farPlane());
    const glm::mat4 mvp = projection * *light.inverseModelMatrix;
    glUniformMatrix4fv(shadowProgram.location(ShaderLocation::mvpMatrix), 1, GL_FALSE,
                       glm::value_ptr(mvp));
    glBindVertexArray(mesh.vertexArray.id());
    glDrawElements(GL_TRIANGLES, mesh.indexCount, GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glUseProgram(0);
}

void blurPass(Light& light)
{
    glDisable(GL_DEPTH_TEST);
    glUseProgram(light.blurShader().program());
    glBindVertexArray(light.quadVertexArray());
    light.blurShadowMap();
    glBindVertexArray(0);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glEnable(GL_DEPTH_TEST);
}

double elapsedMilliseconds(GLuint query)
{
    GLuint64 nanoseconds = 0;
    glGetQueryObjectui64v(query, GL_QUERY_RESULT, &nanoseconds);
    return static_cast<double>(nanoseconds) * 1.0e-6;
}

} // namespace

void runShadowBenchmark()
{
    Light light(0.5f, 3.0f);
    // Twenty units above the floor, looking straight down at it.
    light.translate(0.0f, 20.0f, 0.0f);
    light.rotateX(-90.0f);
    Shader shadowProgram(Light::shaderDirectory() + "shadowShader");
    if (shadowProgram.program() == 0) {
        std::fprintf(stderr, "shadow benchmark: cannot build %sshadowShader\n",
                     Light::shaderDirectory().c_str());
        return;
    }
    bindFragmentOutput(shadowProgram, "out_moments");
    const CasterMesh floor = rollingFloor();
    const GpuMesh mesh = upload(floor);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);

    // Time elapsed queries cannot nest, so the two halves are timed one after the other.
    const GLQuery shadowQuery = GLQuery::create();
    const GLQuery blurQuery = GLQuery::create();
    double shadowTotal = 0.0;
    double blurTotal = 0.0;
    for (int frame = 0; frame < warmUpFrames + timedFrames; ++frame) {
        glBeginQuery(GL_TIME_ELAPSED, shadowQuery.id());
        drawShadowPass(light, shadowProgram, mesh);
        glEndQuery(GL_TIME_ELAPSED);
        glBeginQuery(GL_TIME_ELAPSED, blurQuery.id());
        blurPass(light);
        glEndQuery(GL_TIME_ELAPSED);
        const double shadow = elapsedMilliseconds(shadowQuery.id());
        const double blur = elapsedMilliseconds(blurQuery.id());
        if (frame >= warmUpFrames) {
            shadowTotal += shadow;
            blurTotal += blur;
        }
    }

    const double shadow = shadowTotal / timedFrames;
    const double blur = blurTotal / timedFrames;
    std::printf("shadow: 1 light, %dx%d map, %zu triangles + 2 blur passes: %.3f ms/frame "
                "(shadow pass %.3f ms, blur %.3f ms; mean of %d frames) on %s\n",
                mapSize, mapSize, floor.indices.size() / 3, shadow + blur, shadow, blur,
                timedFrames, reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
}
