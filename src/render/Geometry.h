#pragma once

#include "gl/GLObject.h"
#include "render/Drawable.h"
#include "render/Placement.h"
#include "render/ShadowCaster.h"
#include "scene/BoundingSphere.h"
#include "scene/SceneObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <map>

class Camera;
class Mesh;
class Shader;
class ViewFrustum;

// A scene object that can be drawn: it owns one Mesh, copies it once into a
// vertex array with one vertex and one index buffer, keeps a small Phong
// material and draws itself in each kind of pass of a frame (lit, into the
// environment cube, into a shadow map, and for motion blur).
//
// Each pass draws at a Placement: the geometry's own, or one that an energy
// stone or a wheel lends to a model it shares with others.
//
// All draws leave blending, depth writes and the current program alone (the
// frame pipeline owns those) and leave texture unit 0 active. Drawing before
// a successful prepare throws std::runtime_error with the text
// "Geometry has not been prepared!".
class Geometry : public SceneObject, public Drawable {
public:
    // Keys of materialColors.
    static constexpr int diffuseColor = 1;
    static constexpr int specularColor = 2;
    static constexpr int ambientColor = 3;

    // An empty mesh, not prepared, shininess 50, all light and shadow matrices identity.
    Geometry();
    // The GL objects go with the geometry, so the context must be current
    // when a prepared geometry is destroyed.
    ~Geometry() override;

    // Copies the mesh into the GL once. A second call, or a call while the
    // mesh is still empty (its file could not be read), does nothing, so the
    // first program given stays the one whose attribute locations the vertex
    // array was built for.
    virtual void prepare(Shader& shader, bool textured);

    // Its own placement: model and normal matrix, shadow matrices, and the
    // mesh's sphere, with its sub-meshes' spheres in the world.
    Placement placement() const;

    // The passes at a placement. Culling tests the placement's sphere, and
    // the sub-meshes' own spheres too where they are in the world for it.
    // Lit: textured meshes go entry by entry, each with its own texture on
    // unit 0.
    virtual void draw(const LitPass& pass, const Placement& at);
    // Depth moments only: the whole index range at once.
    void drawShadow(const ShadowPass& pass, const Placement& at);
    // Never culled: the cube looks in every direction. The program's
    // geometry stage does the projection.
    void drawToCubeMap(const CubeMapPass& pass, const Placement& at);
    // Only the camera's movement since the last frame enters: no object's
    // previous placement is kept.
    void drawVelocity(const VelocityPass& pass, const Placement& at);

    // The passes at its own placement.
    void draw(const LitPass& pass) override { draw(pass, placement()); }
    void drawShadow(const ShadowPass& pass) override { drawShadow(pass, placement()); }
    void drawToCubeMap(const CubeMapPass& pass) override { drawToCubeMap(pass, placement()); }
    void drawVelocity(const VelocityPass& pass) override { drawVelocity(pass, placement()); }

    // The lights' texture matrices; the shadow matrices follow at once.
    void setLightMatrices(const glm::mat4& light1, const glm::mat4& light2, const glm::mat4& light3) override;

    // Keeps everything that depends on the placement in world space, so that
    // draws and collision tests never transform bounding records themselves.
    void applyTransform(const glm::mat4& transform, const glm::mat4& inverseTransform) override;

    // Upper-left 3x3 of transpose(inverse model matrix), as the lit programs want it.
    glm::mat3 normalMatrix() const;

    Shader* shader = nullptr; // not owned; the program given to prepare
    float shininess = 50.0f;
    // Not created until prepare.
    GLVertexArray vertexArray;
    GLBuffer vertexBuffer; // interleaved MeshVertex records
    GLBuffer indexBuffer;  // 32-bit indices
    bool prepared = false;
    bool textured = false;
    // Reflection coefficients by the keys above. A draw reads an absent key as
    // black and enters it.
    std::map<int, glm::vec3> materialColors;
    Mesh* const mesh; // owned, deleted in the destructor; filled by content loading
    // lightMatrices[i] × modelMatrix: world-to-shadow-map of light i for this object.
    std::array<glm::mat4, 3> shadowMatrices;
    std::array<glm::mat4, 3> lightMatrices;

protected:
    // Throws "Geometry has not been prepared!" before the first draw of a
    // geometry whose model never reached the GL.
    void requirePrepared() const;

private:
    // Which pass an entry-by-entry draw serves: the lit pass binds textures
    // and counts its calls, the cube pass only binds, the velocity pass neither.
    enum class EntryPass { Lit, CubeMap, Velocity };

    void updateShadowMatrices();
    void setSurfaceUniforms(Shader& program, const Placement& at);
    void drawLitMesh(EntryPass pass, const ViewFrustum* entryCulling);
    // A null frustum draws every entry.
    void drawEntries(EntryPass pass, const ViewFrustum* entryCulling);
    void drawIndexRange(std::uint32_t count, std::uint32_t baseIndex) const;
};
