#include "render/ReflectiveGeometry.h"

#include "assets/Mesh.h"
#include "render/GLObject.h"
#include "render/Shader.h"

#include "assets/MeshTestFiles.h"
#include "support/GLTestContext.h"

#include <glm/gtc/type_ptr.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <initializer_list>
#include <ios>
#include <string>
#include <vector>

using meshtest::MeshFiles;

// The real cube program, drawn through drawToCubeMap into a real cube: what
// lands in which face, and where in it.

namespace {

const std::string cubeProgramPath = std::string(BRIMBOLT_SOURCE_DIR) + "/brimbolt/Shaders/environmentCubeShader";

const glm::vec3 cubeCentre(2.0f, 1.0f, 0.0f);

const std::string redMaterial = R"(newmtl red
Kd 1 0 0
)";

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
    case GL_TEXTURE_CUBE_MAP_POSITIVE_X:
        rule = {-r.z, -r.y, r.x};
        break;
    case GL_TEXTURE_CUBE_MAP_NEGATIVE_X:
        rule = {r.z, -r.y, -r.x};
        break;
    case GL_TEXTURE_CUBE_MAP_POSITIVE_Y:
        rule = {r.x, r.z, r.y};
        break;
    case GL_TEXTURE_CUBE_MAP_NEGATIVE_Y:
        rule = {r.x, -r.z, -r.y};
        break;
    case GL_TEXTURE_CUBE_MAP_POSITIVE_Z:
        rule = {r.x, -r.y, r.z};
        break;
    default:
        rule = {-r.x, -r.y, -r.z};
        break;
    }
    return {(rule.x / rule.z + 1.0f) / 2.0f, (rule.y / rule.z + 1.0f) / 2.0f};
}

// A square of the given half size around cubeCentre + offset, lying across
// the face axis forward (offset's component along it is 1). Its front
// (counter-clockwise) side faces the centre, so back-face culling keeps it
// only if the face it lands in is not mirrored.
std::string squareFacingCentre(const glm::vec3& forward, const glm::vec3& offset, float halfSize)
{
    const glm::vec3 helper = std::abs(forward.y) > 0.5f ? glm::vec3(0, 0, 1) : glm::vec3(0, 1, 0);
    // cross(a, b) = -forward: counter-clockwise as seen from the centre.
    const glm::vec3 a = glm::normalize(glm::cross(helper, forward)) * halfSize;
    const glm::vec3 b = glm::cross(-forward, a);
    const glm::vec3 middle = cubeCentre + offset;
    auto vertex = [](const glm::vec3& v) {
        return "v " + std::to_string(v.x) + " " + std::to_string(v.y) + " " + std::to_string(v.z) + "\n";
    };
    const glm::vec3 normal = -forward;
    return "mtllib red.mtl\n" + vertex(middle - a - b) + vertex(middle + a - b) + vertex(middle + a + b) +
           vertex(middle - a + b) + "vn " + std::to_string(normal.x) + " " + std::to_string(normal.y) + " " +
           std::to_string(normal.z) + "\nusemtl red\nf 1//1 2//1 3//1 4//1\n";
}

struct CubeFace {
    std::vector<GLubyte> texels; // RGB rows, bottom row (t = 0) first
    int size = 0;

    const GLubyte* at(int column, int row) const
    {
        return &texels[static_cast<std::size_t>((row * size + column) * 3)];
    }
    bool isRed(int column, int row) const
    {
        const GLubyte* texel = at(column, row);
        return texel[0] > 200 && texel[1] < 30 && texel[2] < 30;
    }
    int redCount() const
    {
        int count = 0;
        for (int row = 0; row < size; ++row) {
            for (int column = 0; column < size; ++column) {
                count += isRed(column, row) ? 1 : 0;
            }
        }
        return count;
    }
};

CubeFace readFace(GLuint cube, int size, GLenum face)
{
    CubeFace result;
    result.size = size;
    result.texels.resize(static_cast<std::size_t>(size * size * 3));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glBindTexture(GL_TEXTURE_CUBE_MAP, cube);
    glGetTexImage(face, 0, GL_RGB, GL_UNSIGNED_BYTE, result.texels.data());
    glBindTexture(GL_TEXTURE_CUBE_MAP, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return result;
}

// Lights that add nothing, with sane values: the quad shows its ambient
// colour only, whatever the shadow maps (none are bound) would say.
void switchLightsOff(Shader& program)
{
    const glm::mat3 zero(0.0f);
    const glm::mat3 constantOnly(glm::vec3(1, 0, 0), glm::vec3(1, 0, 0), glm::vec3(1, 0, 0));
    const glm::mat3 down(glm::vec3(0, -1, 0), glm::vec3(0, -1, 0), glm::vec3(0, -1, 0));
    const glm::mat3 high(glm::vec3(0, 10, 0), glm::vec3(0, 10, 0), glm::vec3(0, 10, 0));
    const float cutoffs[3] = {0.5f, 0.5f, 0.5f};
    const float exponents[3] = {1.0f, 1.0f, 1.0f};
    glUniformMatrix3fv(program.location(ShaderLocation::lightColor), 1, GL_FALSE, glm::value_ptr(zero));
    glUniformMatrix3fv(program.location(ShaderLocation::attenuation), 1, GL_FALSE, glm::value_ptr(constantOnly));
    glUniformMatrix3fv(program.location(ShaderLocation::spotDirection), 1, GL_FALSE, glm::value_ptr(down));
    glUniformMatrix3fv(program.location(ShaderLocation::lightPosition), 1, GL_FALSE, glm::value_ptr(high));
    glUniform1fv(program.location(ShaderLocation::spotCosCutoff), 3, cutoffs);
    glUniform1fv(program.location(ShaderLocation::spotExponent), 3, exponents);
}

// The pig (an empty reflective object whose sphere sits at the cube centre),
// a red square and the cube program current, with the frame's depth and
// culling state.
struct CubeScene {
    explicit CubeScene(const std::string& squareObj, const std::string& material = redMaterial)
    {
        files.texture("white.png");
        files.model("red.mtl", material);
        loaded = square.mesh->loadMesh(files.model("square.obj", squareObj), false);
        square.prepare(program, false);
        square.materialColors[Geometry::ambientColor] = glm::vec3(1.0f);

        reflective.mesh->boundingSphere = BoundingSphere(glm::vec3(0.0f), 1.0f);
        reflective.translate(cubeCentre.x, cubeCentre.y, cubeCentre.z);

        glEnable(GL_DEPTH_TEST);
        glEnable(GL_CULL_FACE);
        glUseProgram(program.program());
        switchLightsOff(program);
    }
    ~CubeScene()
    {
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDisable(GL_DEPTH_TEST);
        glDisable(GL_CULL_FACE);
    }
    CubeScene(const CubeScene&) = delete;
    CubeScene& operator=(const CubeScene&) = delete;

    void render()
    {
        reflective.beginCubeRender(program);
        square.drawToCubeMap(program, reflective.cubeCentre(), *square.modelMatrix, square.normalMatrix(),
                             square.shadowMatrices);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }

    CubeFace face(GLenum target) const
    {
        return readFace(reflective.cubeColorTexture(), reflective.cubeSize(), target);
    }

    MeshFiles files{true};
    Shader program{cubeProgramPath};
    Geometry square;
    ReflectiveGeometry reflective;
    bool loaded = false;
};

} // namespace

TEST(ReflectiveGeometryRender, ASquareAlongEachAxisFillsThatFaceOnly)
{
    GL_TEST_SETUP(context);
    for (const FaceCase& face : faceCases) {
        SCOPED_TRACE(testing::Message() << "face 0x" << std::hex << face.target);
        // One unit along the axis, so it covers the middle half of the face.
        CubeScene scene(squareFacingCentre(face.forward, face.forward, 0.5f));
        ASSERT_TRUE(scene.loaded);
        ASSERT_NE(scene.program.program(), 0u);

        scene.render();

        for (const FaceCase& other : faceCases) {
            const CubeFace image = scene.face(other.target);
            if (other.target != face.target) {
                EXPECT_EQ(image.redCount(), 0) << "also in face 0x" << std::hex << other.target;
                continue;
            }
            const int middle = image.size / 2;
            EXPECT_TRUE(image.isRed(middle, middle))
                << "texel " << int(image.at(middle, middle)[0]) << ", " << int(image.at(middle, middle)[1])
                << ", " << int(image.at(middle, middle)[2]);
            const int quarter = image.size * image.size / 4;
            EXPECT_NEAR(image.redCount(), quarter, quarter / 10);
        }
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

TEST(ReflectiveGeometryRender, TheImageSitsWhereACubeLookupInItsDirectionReads)
{
    GL_TEST_SETUP(context);
    for (const FaceCase& face : faceCases) {
        SCOPED_TRACE(testing::Message() << "face 0x" << std::hex << face.target);
        // Off the axis in both directions across the face, by different amounts,
        // so that a turned or mirrored face puts the square elsewhere.
        const glm::vec3 across = glm::vec3(0.5f, 0.3f, -0.4f) * (glm::vec3(1.0f) - glm::abs(face.forward));
        const glm::vec3 direction = face.forward + across;
        CubeScene scene(squareFacingCentre(face.forward, direction, 0.1f));
        ASSERT_TRUE(scene.loaded);

        scene.render();

        const CubeFace image = scene.face(face.target);
        const glm::vec2 texel = lookupTexel(face.target, direction) * static_cast<float>(image.size);
        const int column = static_cast<int>(texel.x);
        const int row = static_cast<int>(texel.y);
        EXPECT_TRUE(image.isRed(column, row)) << "column " << column << ", row " << row;
        // Its mirror images across either axis of the face stay clear.
        EXPECT_FALSE(image.isRed(image.size - 1 - column, row));
        EXPECT_FALSE(image.isRed(column, image.size - 1 - row));
    }
}

TEST(ReflectiveGeometryRender, EachRenderStartsFromAClearedCube)
{
    GL_TEST_SETUP(context);
    const glm::vec3 positiveX(1.0f, 0.0f, 0.0f);
    CubeScene scene(squareFacingCentre(positiveX, positiveX, 0.5f));
    ASSERT_TRUE(scene.loaded);
    scene.render();
    ASSERT_GT(scene.face(GL_TEXTURE_CUBE_MAP_POSITIVE_X).redCount(), 0);

    // The square moves out of the way; nothing of the last frame may stay.
    scene.square.translate(-20.0f, 0.0f, 0.0f);
    scene.render();

    EXPECT_EQ(scene.face(GL_TEXTURE_CUBE_MAP_POSITIVE_X).redCount(), 0);
}

TEST(ReflectiveGeometryRender, ASquareReachingIntoSeveralFacesIsDrawnIntoEach)
{
    GL_TEST_SETUP(context);
    // Three times as wide as the +X face at its distance: it fills that face
    // and spills into the four faces around it, while each of its corners
    // lies outside the +X face on a different side.
    const glm::vec3 positiveX(1.0f, 0.0f, 0.0f);
    CubeScene scene(squareFacingCentre(positiveX, positiveX, 3.0f));
    ASSERT_TRUE(scene.loaded);

    scene.render();

    const CubeFace front = scene.face(GL_TEXTURE_CUBE_MAP_POSITIVE_X);
    EXPECT_EQ(front.redCount(), front.size * front.size);
    for (GLenum side : {GL_TEXTURE_CUBE_MAP_POSITIVE_Y, GL_TEXTURE_CUBE_MAP_NEGATIVE_Y,
                        GL_TEXTURE_CUBE_MAP_POSITIVE_Z, GL_TEXTURE_CUBE_MAP_NEGATIVE_Z}) {
        EXPECT_GT(scene.face(side).redCount(), 0) << "face 0x" << std::hex << side;
    }
    EXPECT_EQ(scene.face(GL_TEXTURE_CUBE_MAP_NEGATIVE_X).redCount(), 0);
}

TEST(ReflectiveGeometryRender, ColoursAreDecodedForLightingAndTheResultIsStoredEncoded)
{
    GL_TEST_SETUP(context);
    const glm::vec3 positiveX(1.0f, 0.0f, 0.0f);
    // sRGB 0.5 is 0.214 in linear light; a fifth of it is 0.0428, which
    // encodes to 0.229 (58 of 255). Skipping the decode would give 89,
    // skipping the encode 11, skipping both 26.
    CubeScene scene(squareFacingCentre(positiveX, positiveX, 0.5f), "newmtl red\nKd 0.5 0 0\n");
    ASSERT_TRUE(scene.loaded);
    scene.square.materialColors[Geometry::ambientColor] = glm::vec3(0.2f);

    scene.render();

    const CubeFace front = scene.face(GL_TEXTURE_CUBE_MAP_POSITIVE_X);
    const int middle = front.size / 2;
    EXPECT_NEAR(front.at(middle, middle)[0], 58, 2);
    EXPECT_EQ(front.at(middle, middle)[1], 0);
}

TEST(ReflectiveGeometryRender, ASpotLightLightsTheSquareWhereItsShadowMapSeesIt)
{
    GL_TEST_SETUP(context);
    const glm::vec3 positiveX(1.0f, 0.0f, 0.0f);
    CubeScene scene(squareFacingCentre(positiveX, positiveX, 0.5f));
    ASSERT_TRUE(scene.loaded);
    Geometry& square = scene.square;
    square.materialColors[Geometry::ambientColor] = glm::vec3(0.0f);
    square.materialColors[Geometry::diffuseColor] = glm::vec3(1.0f);
    // Light 1 at the cube centre, shining straight at the square; the other two dark.
    Shader& program = scene.program;
    const glm::mat3 colours(glm::vec3(1.0f), glm::vec3(0.0f), glm::vec3(0.0f));
    const glm::mat3 positions(cubeCentre, cubeCentre, cubeCentre);
    const glm::mat3 directions(positiveX, positiveX, positiveX);
    glUniformMatrix3fv(program.location(ShaderLocation::lightColor), 1, GL_FALSE, glm::value_ptr(colours));
    glUniformMatrix3fv(program.location(ShaderLocation::lightPosition), 1, GL_FALSE, glm::value_ptr(positions));
    glUniformMatrix3fv(program.location(ShaderLocation::spotDirection), 1, GL_FALSE, glm::value_ptr(directions));
    // A one-texel moments map: (1, 1) puts every caster behind every
    // receiver, (0, 0) a caster right at the light.
    GLTexture moments = GLTexture::create();
    auto setMoments = [&](float mean) {
        const float texel[4] = {mean, mean * mean, 0.0f, 0.0f};
        glActiveTexture(GL_TEXTURE1);
        glBindTexture(GL_TEXTURE_2D, moments.id());
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, texel);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glActiveTexture(GL_TEXTURE0);
    };
    glUniform1i(program.location(ShaderLocation::varianceShadowMap1), 1);
    const int middle = scene.reflective.cubeSize() / 2;

    setMoments(1.0f);
    scene.render();
    EXPECT_GT(scene.face(GL_TEXTURE_CUBE_MAP_POSITIVE_X).at(middle, middle)[0], 250) << "not lit";

    setMoments(0.0f);
    scene.render();
    EXPECT_LT(scene.face(GL_TEXTURE_CUBE_MAP_POSITIVE_X).at(middle, middle)[0], 5) << "not shadowed";
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, 0);
    glActiveTexture(GL_TEXTURE0);
}
