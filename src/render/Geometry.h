#pragma once

#include "render/Drawable.h"
#include "gl/GLObject.h"
#include "render/ShadowCaster.h"
#include "scene/BoundingSphere.h"
#include "scene/SceneObject.h"

#include <epoxy/gl.h>
#include <glm/glm.hpp>

#include <array>
#include <cstdint>
#include <map>
#include <span>

class Camera;
class Mesh;
class Shader;
class ViewFrustum;

// A scene object that can be drawn: it owns one Mesh, copies it once into a
// vertex array with one vertex and one index buffer, keeps a small Phong
// material and draws itself in each kind of pass of a frame (lit, into the
// environment cube, into a shadow map, and for motion blur).
//
// Energy stones and wheels share one Geometry between several placements;
// they draw through the variants that take a model matrix instead of using
// this object's own.
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

    // Lit draw with this object's transform and the program given to prepare,
    // which the caller has made current along with the lights. Textured
    // meshes go entry by entry, each with its own texture on unit 0, so that
    // entries outside the view can be skipped.
    void draw(const Camera& camera) override;
    // The lit draw for a borrowed placement: only the given sphere is culled
    // and every entry is drawn.
    void drawWithTransform(const Camera& camera, const glm::mat4& model, const glm::mat3& normalMatrix,
                           const BoundingSphere& cullingSphere, std::span<const glm::mat4, 3> shadowMatrices);
    // Depth-moments draw into the bound shadow map; the shadow program is
    // current and mvpLocation is its "mvpMatrix".
    void drawShadow(const ShadowCaster& light, const glm::mat4& model, const BoundingSphere& cullingSphere,
                    GLint mvpLocation);
    // The same with this object's own placement and sphere.
    void drawShadow(const ShadowCaster& light, GLint mvpLocation) override;
    // Lit draw into the bound layered cube map, never culled: the cube looks
    // in every direction. The program's geometry stage does the projection.
    void drawToCubeMap(Shader& program, const glm::vec3& cubeCentre, const glm::mat4& model,
                       const glm::mat3& normalMatrix, std::span<const glm::mat4, 3> shadowMatrices);
    // The same with this object's own placement and shadow matrices.
    void drawToCubeMap(Shader& program, const glm::vec3& cubeCentre) override;
    // Motion-blur draw: only the camera's movement since the last frame
    // enters, since the model matrix is the same in both frames.
    void drawVelocity(const Camera& camera, Shader& program) override;
    void drawVelocityWithTransform(const Camera& camera, Shader& program, const glm::mat4& model,
                                   const glm::mat4& previousModel, const BoundingSphere& cullingSphere);

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
    void setSurfaceUniforms(Shader& program, const glm::mat3& normalMatrix,
                            std::span<const glm::mat4, 3> shadowMatrices);
    void drawLitMesh(EntryPass pass, const ViewFrustum* entryCulling);
    // A null frustum draws every entry.
    void drawEntries(EntryPass pass, const ViewFrustum* entryCulling);
    void drawIndexRange(std::uint32_t count, std::uint32_t baseIndex) const;
};
