#pragma once

#include "gl/GLObject.h"
#include "render/Geometry.h"

#include <epoxy/gl.h>

#include <string>

class Camera;
class Shader;

// A Geometry drawn with relief: besides its colour textures it carries a
// tangent frame per vertex and a normal, a height and optionally a specular
// map, which the "parallax" program reads on texture units 5, 6 and 7.
//
// The maps are texture-manager names, so several pieces can share one image
// and the manager frees them all at shutdown. A map that failed to load reads
// as id 0 at draw time and leaves its unit empty; the piece still draws.
class ParallaxGeometry : public Geometry {
public:
    // Fixed by the lit programs' texture-unit layout: 0 colour, 1 to 3
    // shadow maps, 4 environment cube, then these.
    static constexpr GLint normalMapUnit = 5;
    static constexpr GLint heightMapUnit = 6;
    static constexpr GLint specularMapUnit = 7;

    ParallaxGeometry() = default;
    // The tangent buffers go with the object, so the context must be current
    // when a prepared piece is destroyed.
    ~ParallaxGeometry() override;

    // Keeps both names whatever happens, then loads the normal map and, only
    // if that worked, the height map: a piece without normals would be drawn
    // wrongly whatever its heights, so the second file is not worth reading.
    // True when both maps are loaded.
    bool setMaps(const std::string& normalMap, const std::string& heightMap);
    // Loads the map first and takes it only when that worked, so that a
    // missing file leaves the piece drawing without specular detail.
    bool setSpecularMap(const std::string& specularMap);

    // Geometry's prepare, then the tangents and bitangents into the same
    // vertex array at the program's "in_tangent" and "in_bitangent". Like
    // Geometry's, a second call or an empty mesh changes nothing.
    void prepare(Shader& shader, bool textured) override;

    // The lit draw with the maps bound on units 5 to 7 for its duration.
    // Afterwards the map units are empty and unit 0 is active.
    using Geometry::draw;
    void draw(const LitPass& pass, const Placement& at) override;

    std::string normalMapName;
    std::string heightMapName;
    std::string specularMapName;
    bool hasSpecularMap = false;
    // Not created until prepare.
    GLBuffer tangentBuffer;
    GLBuffer bitangentBuffer;

private:
    void bindMaps(Shader& program);
    void unbindMaps();
};
