#include "render/ParallaxGeometry.h"

#include "assets/Mesh.h"
#include "assets/TextureManager.h"
#include "gl/Shader.h"

namespace {

// Relief maps hold colours of their own, never transparency.
constexpr bool withoutAlpha = false;

void bindMap(GLint unit, const std::string& name)
{
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    // A map that never loaded reads as 0: the unit keeps whatever it had,
    // which after our own unbinding is nothing.
    const GLuint id = TextureManager::getInstance()->textureId(name);
    if (id != 0) {
        glBindTexture(GL_TEXTURE_2D, id);
    }
}

void unbindMap(GLint unit)
{
    glActiveTexture(GL_TEXTURE0 + static_cast<GLenum>(unit));
    glBindTexture(GL_TEXTURE_2D, 0);
}

} // namespace

// The GL owners delete the tangent buffers (only made by prepare) before the
// Geometry part deletes the vertex array that refers to them.
ParallaxGeometry::~ParallaxGeometry() = default;

bool ParallaxGeometry::setMaps(const std::string& normalMap, const std::string& heightMap)
{
    normalMapName = normalMap;
    heightMapName = heightMap;
    TextureManager* textures = TextureManager::getInstance();
    if (!textures->loadTextureOrReport(normalMapName, withoutAlpha)) {
        return false;
    }
    return textures->loadTextureOrReport(heightMapName, withoutAlpha);
}

bool ParallaxGeometry::setSpecularMap(const std::string& specularMap)
{
    if (!TextureManager::getInstance()->loadTextureOrReport(specularMap, withoutAlpha)) {
        return false;
    }
    specularMapName = specularMap;
    hasSpecularMap = true;
    return true;
}

void ParallaxGeometry::prepare(Shader& shader, bool textured)
{
    // Geometry's prepare may do nothing (already prepared, or an empty mesh);
    // only a first successful one gets tangent buffers.
    const bool wasPrepared = prepared;
    Geometry::prepare(shader, textured);
    if (wasPrepared || !prepared) {
        return;
    }

    tangentBuffer = GLBuffer::create();
    bitangentBuffer = GLBuffer::create();
    glBindVertexArray(vertexArray.id());
    mesh->uploadTangentBuffers(tangentBuffer.id(), bitangentBuffer.id(), shader);
    glBindVertexArray(0);
    // The array-buffer binding is not part of the vertex array; leave none behind.
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void ParallaxGeometry::draw(const LitPass& pass, const Placement& at)
{
    // Checked before anything is bound, so that a failed draw leaves no maps behind.
    requirePrepared();
    bindMaps(pass.program);
    Geometry::draw(pass, at);
    unbindMaps();
}

void ParallaxGeometry::bindMaps(Shader& program)
{
    bindMap(normalMapUnit, normalMapName);
    glUniform1i(program.location(ShaderLocation::normalMap), normalMapUnit);
    bindMap(heightMapUnit, heightMapName);
    glUniform1i(program.location(ShaderLocation::heightMap), heightMapUnit);
    // Without a specular map unit 7 is left entirely alone; the program
    // learns from "useSpecularMap" not to read it.
    if (hasSpecularMap) {
        bindMap(specularMapUnit, specularMapName);
        glUniform1i(program.location(ShaderLocation::specularMap), specularMapUnit);
    }
    // Geometry's draw binds each entry's colour texture on the active unit.
    glActiveTexture(GL_TEXTURE0);
    glUniform1i(program.location(ShaderLocation::useSpecularMap), hasSpecularMap ? 1 : 0);
}

void ParallaxGeometry::unbindMaps()
{
    unbindMap(normalMapUnit);
    unbindMap(heightMapUnit);
    if (hasSpecularMap) {
        unbindMap(specularMapUnit);
    }
    glActiveTexture(GL_TEXTURE0);
}
