#include "render/Geometry.h"

#include "assets/Mesh.h"
#include "gl/Shader.h"
#include "scene/Camera.h"
#include "scene/ViewFrustum.h"
#include "settings/Settings.h"

#include <glm/gtc/type_ptr.hpp>

#include <cstddef>
#include <stdexcept>

namespace {

constexpr ShaderLocation shadowMatrixKeys[3] = {ShaderLocation::texMat_model1, ShaderLocation::texMat_model2,
                                                ShaderLocation::texMat_model3};

void setUniform(Shader& program, ShaderLocation key, const glm::mat4& value)
{
    glUniformMatrix4fv(program.location(key), 1, GL_FALSE, glm::value_ptr(value));
}

void setUniform(Shader& program, ShaderLocation key, const glm::mat3& value)
{
    glUniformMatrix3fv(program.location(key), 1, GL_FALSE, glm::value_ptr(value));
}

void setUniform(Shader& program, ShaderLocation key, const glm::vec4& value)
{
    glUniform4fv(program.location(key), 1, glm::value_ptr(value));
}

void setUniform(Shader& program, ShaderLocation key, float value)
{
    glUniform1f(program.location(key), value);
}

void setUniform(Shader& program, ShaderLocation key, int value)
{
    glUniform1i(program.location(key), value);
}

glm::mat4 viewProjection(const Camera& camera)
{
    return *camera.projectionMatrix * *camera.inverseModelMatrix;
}

glm::mat4 previousViewProjection(const Camera& camera)
{
    return *camera.projectionMatrix * *camera.previousInverseModelMatrix;
}

glm::vec4 eyePosition(const Camera& camera)
{
    return *camera.modelMatrix * glm::vec4(0.0f, 0.0f, 0.0f, 1.0f);
}

bool isCulled(const ViewFrustum& frustum, const BoundingSphere& sphere)
{
    return frustumCulling && !frustum.isSphereVisible(sphere);
}

// Per-entry tests are only worth making while culling is on; a null frustum
// tells the entry loop to draw everything.
const ViewFrustum* entryCullingFrustum(const Camera& camera)
{
    return frustumCulling ? camera.frustum : nullptr;
}

// A culled or finished lit draw must not leave the reflective switch on for
// the next object drawn with the same program.
void endLitDraw(Shader& program)
{
    setUniform(program, ShaderLocation::isReflective, 0);
}

void setViewUniforms(Shader& program, const Camera& camera, const glm::mat4& model)
{
    setUniform(program, ShaderLocation::mvpMatrix, viewProjection(camera) * model);
    setUniform(program, ShaderLocation::modelMatrix, model);
    setUniform(program, ShaderLocation::cameraPos, eyePosition(camera));
}

} // namespace

Geometry::Geometry()
    : mesh(new Mesh())
{
    shadowMatrices.fill(glm::mat4(1.0f));
    lightMatrices.fill(glm::mat4(1.0f));
}

Geometry::~Geometry()
{
    delete mesh;
}

void Geometry::prepare(Shader& shader, bool textured)
{
    if (prepared || mesh->vertices.empty()) {
        return;
    }
    this->textured = textured;
    this->shader = &shader;

    vertexBuffer = GLBuffer::create();
    indexBuffer = GLBuffer::create();
    vertexArray = GLVertexArray::create();
    // The attribute pointers and the index buffer are recorded in the vertex
    // array, so every later draw needs nothing but this one bind.
    glBindVertexArray(vertexArray.id());
    mesh->uploadBuffers(vertexBuffer.id(), indexBuffer.id(), shader);
    glBindVertexArray(0);
    prepared = true;
}

Placement Geometry::placement() const
{
    Placement own;
    own.model = *modelMatrix;
    own.normalMatrix = normalMatrix();
    own.shadowMatrices = shadowMatrices;
    own.cullingSphere = mesh->boundingSphere;
    own.entriesInWorld = true;
    return own;
}

void Geometry::draw(const LitPass& pass, const Placement& at)
{
    requirePrepared();
    if (isCulled(*pass.camera.frustum, at.cullingSphere)) {
        endLitDraw(pass.program);
        return;
    }
    setSurfaceUniforms(pass.program, at);
    setViewUniforms(pass.program, pass.camera, at.model);

    glBindVertexArray(vertexArray.id());
    drawLitMesh(EntryPass::Lit, at.entriesInWorld ? entryCullingFrustum(pass.camera) : nullptr);
    endLitDraw(pass.program);
    glBindVertexArray(0);
}

void Geometry::drawShadow(const ShadowPass& pass, const Placement& at)
{
    requirePrepared();
    if (isCulled(*pass.light.frustum, at.cullingSphere)) {
        return;
    }
    glBindVertexArray(vertexArray.id());
    setUniform(pass.program, ShaderLocation::mvpMatrix, pass.light.viewProjection() * at.model);
    // Depth only: the whole index range at once, whatever the entries' textures.
    drawIndexRange(mesh->indexCount, 0);
    glBindVertexArray(0);
}

void Geometry::drawToCubeMap(const CubeMapPass& pass, const Placement& at)
{
    requirePrepared();
    setSurfaceUniforms(pass.program, at);
    // No "mvpMatrix": the six face projections are the program's own uniforms.
    setUniform(pass.program, ShaderLocation::cameraPos, glm::vec4(pass.centre, 1.0f));
    setUniform(pass.program, ShaderLocation::modelMatrix, at.model);

    glBindVertexArray(vertexArray.id());
    drawLitMesh(EntryPass::CubeMap, nullptr);
    glBindVertexArray(0);
}

void Geometry::drawVelocity(const VelocityPass& pass, const Placement& at)
{
    requirePrepared();
    if (isCulled(*pass.camera.frustum, at.cullingSphere)) {
        return;
    }
    setUniform(pass.program, ShaderLocation::mvpMatrix, viewProjection(pass.camera) * at.model);
    setUniform(pass.program, ShaderLocation::prev_mvpMatrix, previousViewProjection(pass.camera) * at.model);

    glBindVertexArray(vertexArray.id());
    // Entries only pay off when some can be skipped; otherwise one call is cheaper.
    if (frustumCulling && at.entriesInWorld) {
        drawEntries(EntryPass::Velocity, pass.camera.frustum);
    } else {
        drawIndexRange(mesh->indexCount, 0);
    }
    glBindVertexArray(0);
}

void Geometry::setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3)
{
    lightMatrices = {light1, light2, light3};
    updateShadowMatrices();
}

void Geometry::applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform)
{
    SceneObject::applyTransform(transform, inverseTransform);
    mesh->boundingBox.updateFootprint(*modelMatrix);
    mesh->boundingSphere.update(*modelMatrix);
    for (MeshEntity& entry : mesh->entries) {
        entry.sphere.update(*modelMatrix);
        entry.box.updateFootprint(*modelMatrix);
    }
    updateShadowMatrices();
}

glm::mat3 Geometry::normalMatrix() const
{
    return glm::mat3(glm::transpose(*inverseModelMatrix));
}

void Geometry::requirePrepared() const
{
    if (!prepared) {
        throw std::runtime_error("Geometry has not been prepared!");
    }
}

void Geometry::updateShadowMatrices()
{
    for (std::size_t i = 0; i < shadowMatrices.size(); ++i) {
        shadowMatrices[i] = lightMatrices[i] * *modelMatrix;
    }
}

void Geometry::setSurfaceUniforms(Shader& program, const Placement& at)
{
    if (textured) {
        setUniform(program, ShaderLocation::colorMap, 0);
        setUniform(program, ShaderLocation::useTexture, 1);
    } else {
        setUniform(program, ShaderLocation::useTexture, 0);
    }
    for (std::size_t i = 0; i < at.shadowMatrices.size(); ++i) {
        setUniform(program, shadowMatrixKeys[i], at.shadowMatrices[i]);
    }

    setUniform(program, ShaderLocation::normalMatrix, at.normalMatrix);
    // Indexing enters absent colours as black, so an object without a
    // material reflects nothing rather than whatever the last object sent.
    const glm::mat3 reflection(materialColors[ambientColor], materialColors[diffuseColor],
                               materialColors[specularColor]);
    setUniform(program, ShaderLocation::reflectionCoefficient, reflection);
    setUniform(program, ShaderLocation::shininess, shininess);
}

void Geometry::drawLitMesh(EntryPass pass, const ViewFrustum* entryCulling)
{
    if (textured) {
        drawEntries(pass, entryCulling);
        return;
    }
    drawIndexRange(mesh->indexCount, 0);
    if (pass == EntryPass::Lit) {
        ++drawCounter;
    }
}

void Geometry::drawEntries(EntryPass pass, const ViewFrustum* entryCulling)
{
    const bool bindsTextures = pass != EntryPass::Velocity;
    for (const MeshEntity& entry : mesh->entries) {
        if (entryCulling && !entryCulling->isSphereVisible(entry.sphere)) {
            continue;
        }
        if (bindsTextures && entry.materialIndex < mesh->materialTextures.size() &&
            mesh->materialTextures[entry.materialIndex]) {
            mesh->materialTextures[entry.materialIndex]->bind();
        }
        drawIndexRange(entry.numIndices, entry.baseIndex);
        if (pass == EntryPass::Lit) {
            ++drawCounter;
        }
        if (bindsTextures) {
            // An entry whose texture failed to load must not inherit this one.
            glBindTexture(GL_TEXTURE_2D, 0);
        }
    }
}

void Geometry::drawIndexRange(std::uint32_t count, std::uint32_t baseIndex) const
{
    const std::size_t byteOffset = static_cast<std::size_t>(baseIndex) * sizeof(std::uint32_t);
    glDrawElements(drawMode, static_cast<GLsizei>(count), GL_UNSIGNED_INT, reinterpret_cast<const void*>(byteOffset));
}
