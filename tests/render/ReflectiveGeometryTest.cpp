#include "render/ReflectiveGeometry.h"

#include "assets/Mesh.h"
#include "scene/Camera.h"

#include "render/RenderTestSupport.h"
#include "support/GLTestContext.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

using namespace rendertest;

namespace {

const glm::vec3 cubeCentre(2.0f, 1.0f, 0.0f);

// The six faces in layer order with the axis each looks along.
struct FaceCase {
    GLenum target;
    glm::vec3 forward;
};
const std::array<FaceCase, 6> faceCases{{
    {GL_TEXTURE_CUBE_MAP_POSITIVE_X, {1, 0, 0}},
    {GL_TEXTURE_CUBE_MAP_NEGATIVE_X, {-1, 0, 0}},
    {GL_TEXTURE_CUBE_MAP_POSITIVE_Y, {0, 1, 0}},
    {GL_TEXTURE_CUBE_MAP_NEGATIVE_Y, {0, -1, 0}},
    {GL_TEXTURE_CUBE_MAP_POSITIVE_Z, {0, 0, 1}},
    {GL_TEXTURE_CUBE_MAP_NEGATIVE_Z, {0, 0, -1}},
}};

// The texel (s, t) that a cube-map lookup in direction r reads from the given
// face: the GL rule, written out here independently of the code under test.
glm::vec2 lookupTexel(GLenum face, const glm::vec3& r)
{
    // (sc, tc, ma) of the GL cube-map face table.
    glm::vec3 rule;
    switch (face) {
    case GL_TEXTURE_CUBE_MAP_POSITIVE_X: rule = {-r.z, -r.y, r.x}; break;
    case GL_TEXTURE_CUBE_MAP_NEGATIVE_X: rule = {r.z, -r.y, -r.x}; break;
    case GL_TEXTURE_CUBE_MAP_POSITIVE_Y: rule = {r.x, r.z, r.y}; break;
    case GL_TEXTURE_CUBE_MAP_NEGATIVE_Y: rule = {r.x, -r.z, -r.y}; break;
    case GL_TEXTURE_CUBE_MAP_POSITIVE_Z: rule = {r.x, -r.y, r.z}; break;
    default: rule = {-r.x, -r.y, -r.z}; break;
    }
    return {(rule.x / rule.z + 1.0f) / 2.0f, (rule.y / rule.z + 1.0f) / 2.0f};
}

// A red square of the given half size around cubeCentre + offset, lying across
// the face axis forward. Its front (counter-clockwise) side faces the centre,
// so back-face culling keeps it only if the face it lands in is not mirrored.
std::string squareFacingCentre(const glm::vec3& forward, const glm::vec3& offset, float halfSize)
{
    const glm::vec3 helper = std::abs(forward.y) > 0.5f ? glm::vec3(0, 0, 1) : glm::vec3(0, 1, 0);
    const glm::vec3 a = glm::normalize(glm::cross(helper, forward)) * halfSize;
    const glm::vec3 b = glm::cross(-forward, a);
    const glm::vec3 middle = cubeCentre + offset;
    auto line = [](const char* kind, const glm::vec3& v) {
        return kind + (" " + std::to_string(v.x) + " " + std::to_string(v.y) + " " + std::to_string(v.z) + "\n");
    };
    return "mtllib red.mtl\n" + line("v", middle - a - b) + line("v", middle + a - b) + line("v", middle + a + b) +
           line("v", middle - a + b) + line("vn", -forward) + "usemtl red\nf 1//1 2//1 3//1 4//1\n";
}

struct CubeFace {
    std::vector<GLubyte> texels; // RGB rows, bottom row (t = 0) first
    int size = 0;

    bool isRed(int column, int row) const { return isRedAt(static_cast<std::size_t>((row * size + column) * 3)); }
    bool isRedAt(std::size_t i) const { return texels[i] > 200 && texels[i + 1] < 30 && texels[i + 2] < 30; }
    int redCount() const
    {
        int count = 0;
        for (std::size_t i = 0; i < texels.size(); i += 3) {
            count += isRedAt(i) ? 1 : 0;
        }
        return count;
    }
};

// The pig (an empty reflective object whose sphere sits at the cube centre),
// a square with a red material and the real cube program current, with the
// frame's depth and culling state and lights that add nothing.
struct CubeScene {
    explicit CubeScene(const std::string& squareObj)
    {
        files.model("red.mtl", "newmtl red\nKd 1 0 0\n");
        loaded = square.mesh->loadMesh(files.model("square.obj", squareObj), false);
        square.prepare(*program, false);
        square.materialColors[Geometry::ambientColor] = glm::vec3(1.0f);
        reflective.mesh->boundingSphere = BoundingSphere(glm::vec3(0.0f), 1.0f);
        reflective.translate(cubeCentre.x, cubeCentre.y, cubeCentre.z);

        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glUseProgram(program->program());
        // Black lights with sane values, one per matrix column.
        auto setLights = [&](ShaderLocation key, const glm::vec3& column) {
            const glm::mat3 columns(column, column, column);
            glUniformMatrix3fv(program->location(key), 1, GL_FALSE, glm::value_ptr(columns));
        };
        setLights(ShaderLocation::lightColor, glm::vec3(0.0f));
        setLights(ShaderLocation::attenuation, glm::vec3(1.0f, 0.0f, 0.0f));
        setLights(ShaderLocation::spotDirection, glm::vec3(0.0f, -1.0f, 0.0f));
        setLights(ShaderLocation::lightPosition, glm::vec3(0.0f, 10.0f, 0.0f));
        const float cutoffs[3] = {0.5f, 0.5f, 0.5f};
        glUniform1fv(program->location(ShaderLocation::spotCosCutoff), 3, cutoffs);
        glUniform1fv(program->location(ShaderLocation::spotExponent), 3, cutoffs);
    }
    ~CubeScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
    }
    void render()
    {
        reflective.beginCubeRender(*program);
        square.drawToCubeMap(CubeMapPass{*program, reflective.cubeCentre()});
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    CubeFace face(GLenum target) const
    {
        CubeFace result;
        result.size = reflective.cubeSize();
        result.texels.resize(static_cast<std::size_t>(result.size * result.size * 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glBindTexture(GL_TEXTURE_CUBE_MAP, reflective.cubeColorTexture());
        glGetTexImage(target, 0, GL_RGB, GL_UNSIGNED_BYTE, result.texels.data());
        glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
        return result;
    }

    SceneFiles files;
    std::unique_ptr<Shader> program = loadProgram("environmentCubeShader");
    Geometry square;
    ReflectiveGeometry reflective;
    bool loaded = false;
};

// Shows the cube while the reflective switch is on, plain green otherwise.
const std::string mirrorFragment = R"(#version 330 core
uniform samplerCube environmentMap;
uniform int isReflective;
out vec4 out_color;
void main() { out_color = isReflective == 1 ? texture(environmentMap, vec3(1.0, 0.0, 0.0)) : vec4(0.0, 1.0, 0.0, 1.0); }
)";

const std::string mirrorVertex = meshInputs + R"(
uniform mat4 mvpMatrix;
void main() { gl_Position = mvpMatrix * in_position; }
)";

} // namespace

TEST(ReflectiveGeometryRender, ASquareLandsInItsFaceWhereACubeLookupInItsDirectionReads)
{
    GL_TEST_SETUP(context);
    for (const FaceCase& face : faceCases) {
        SCOPED_TRACE(testing::Message() << "face 0x" << std::hex << face.target);
        // Off the axis in both directions across the face, by different
        // amounts, so that a turned or mirrored face puts the square elsewhere.
        const glm::vec3 across = glm::vec3(0.5f, 0.3f, -0.4f) * (glm::vec3(1.0f) - glm::abs(face.forward));
        const glm::vec3 direction = face.forward + across;
        CubeScene scene(squareFacingCentre(face.forward, direction, 0.1f));
        ASSERT_TRUE(scene.loaded);
        ASSERT_NE(scene.program->program(), 0u);

        scene.render();

        const CubeFace image = scene.face(face.target);
        const glm::ivec2 texel(lookupTexel(face.target, direction) * static_cast<float>(image.size));
        EXPECT_TRUE(image.isRed(texel.x, texel.y)) << "column " << texel.x << ", row " << texel.y;
        // Its mirror images across either axis of the face stay clear.
        EXPECT_FALSE(image.isRed(image.size - 1 - texel.x, texel.y));
        EXPECT_FALSE(image.isRed(texel.x, image.size - 1 - texel.y));
        for (const FaceCase& other : faceCases) {
            if (other.target != face.target) {
                EXPECT_EQ(scene.face(other.target).redCount(), 0) << "also in face 0x" << std::hex << other.target;
            }
        }

        // Each render starts from a cleared cube: once the square has moved
        // away nothing of it stays.
        scene.square.translate(-40.0f * face.forward.x, -40.0f * face.forward.y, -40.0f * face.forward.z);
        scene.render();
        EXPECT_EQ(scene.face(face.target).redCount(), 0);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ReflectiveGeometryDraw, TheCubeIsOnUnitFourDuringTheDrawAndTheNextObjectIsNotReflective)
{
    GL_TEST_SETUP(context);
    for (const bool culled : {false, true}) {
        SCOPED_TRACE(culled ? "culled" : "in view");
        SettingsGuard settings;
        SceneFiles files;
        ScratchDir folder;
        Shader program(writeSources(folder, "mirror", mirrorVertex, mirrorFragment));
        // A reflective and a plain square, each covering the view of a camera at the origin.
        const std::string square = files.model("square.obj", "v -10 -10 -5\nv 10 -10 -5\nv 10 10 -5\nv -10 10 -5\n"
                                                             "f 1 2 3 4\n");
        ReflectiveGeometry reflective;
        Geometry plain;
        ASSERT_TRUE(reflective.mesh->loadMesh(square, false) && plain.mesh->loadMesh(square, false));
        reflective.prepare(program, false);
        plain.prepare(program, false);
        glUseProgram(program.program());
        // Every face of the cube magenta, as if the cube pass had just run.
        glClearColor(1.0f, 0.0f, 1.0f, 1.0f);
        reflective.beginCubeRender(program);
        Camera camera;
        camera.translate(0.0f, 0.0f, 0.0f);
        frustumCulling = true;
        if (culled) {
            reflective.translate(0.0f, 0.0f, 40.0f); // behind the camera
        }
        RenderTarget target(8, 8);
        target.begin();

        reflective.draw(LitPass{program, camera});

        EXPECT_EQ(target.at(target.read(), 4, 4), culled ? (Pixel{0, 0, 0, 0}) : (Pixel{255, 0, 255, 255}));
        EXPECT_EQ(readInt(program, ShaderLocation::isReflective), 0);
        EXPECT_EQ(boundTexture(GL_TEXTURE4, GL_TEXTURE_BINDING_CUBE_MAP), 0);
        EXPECT_EQ(integerState(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
        plain.draw(LitPass{program, camera});
        EXPECT_EQ(target.at(target.read(), 4, 4), (Pixel{0, 255, 0, 255}));
        if (!culled) {
            EXPECT_EQ(readInt(program, ShaderLocation::environmentMap), 4);
        }
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
    }
}
