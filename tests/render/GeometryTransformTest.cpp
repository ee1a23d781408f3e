#include "render/Geometry.h"

#include "assets/Mesh.h"

#include "scene/GlmExpectations.h"

#include <glm/gtc/matrix_transform.hpp>
#include <gtest/gtest.h>

using glm_expectations::near;

namespace {

const glm::mat4 identity(1.0f);

// Bounding records as the model import would leave them, without a file:
// the whole model and two entries, each in model space.
void fillBounds(Mesh& mesh)
{
    mesh.boundingSphere = BoundingSphere({1.0f, 2.0f, 3.0f}, 4.0f);
    mesh.boundingBox = BoundingBox({2.0f, 5.0f, 3.0f}, {-1.0f, -4.0f, -2.0f});
    mesh.entries.resize(2);
    mesh.entries[0].sphere = BoundingSphere({-1.0f, 0.0f, 0.0f}, 1.0f);
    mesh.entries[0].box = BoundingBox({0.0f, 1.0f, 1.0f}, {-2.0f, -1.0f, -1.0f});
    mesh.entries[1].sphere = BoundingSphere({0.0f, 0.0f, -2.0f}, 0.5f);
    mesh.entries[1].box = BoundingBox({0.5f, 0.5f, -1.5f}, {-0.5f, -0.5f, -2.5f});
    mesh.entryCount = 2;
}

glm::mat4 lightMatrix(float offset)
{
    return glm::translate(glm::scale(identity, glm::vec3(0.5f)), glm::vec3(offset, 0.0f, -offset));
}

} // namespace

TEST(GeometryTransform, StartsUnpreparedWithDefaultMaterialAndIdentityMatrices)
{
    Geometry geometry;

    EXPECT_FALSE(geometry.prepared);
    EXPECT_FALSE(geometry.textured);
    EXPECT_EQ(geometry.shader, nullptr);
    EXPECT_FALSE(geometry.vertexArray.created());
    EXPECT_FLOAT_EQ(geometry.shininess, 50.0f);
    EXPECT_TRUE(geometry.materialColors.empty());
    ASSERT_NE(geometry.mesh, nullptr);
    EXPECT_TRUE(geometry.mesh->vertices.empty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(near(geometry.shadowMatrices[i], identity)) << "shadow matrix " << i;
        EXPECT_TRUE(near(geometry.lightMatrices[i], identity)) << "light matrix " << i;
    }
}

TEST(GeometryTransform, FootprintFollowsTheModelMatrixAtGroundLevel)
{
    Geometry geometry;
    fillBounds(*geometry.mesh);

    geometry.translate(10.0f, 1.0f, -5.0f);

    // Upper (2, 5, 3) and lower (-1, -4, -2), dropped to y = 0 and then moved.
    const auto& footprint = geometry.mesh->boundingBox.footprint;
    EXPECT_TRUE(near(footprint[0], glm::vec4(12.0f, 1.0f, -2.0f, 1.0f)));
    EXPECT_TRUE(near(footprint[1], glm::vec4(9.0f, 1.0f, -2.0f, 1.0f)));
    EXPECT_TRUE(near(footprint[2], glm::vec4(9.0f, 1.0f, -7.0f, 1.0f)));
    EXPECT_TRUE(near(footprint[3], glm::vec4(12.0f, 1.0f, -7.0f, 1.0f)));
}

TEST(GeometryTransform, EveryMoveRefreshesTheFootprint)
{
    Geometry geometry;
    fillBounds(*geometry.mesh);

    geometry.translate(10.0f, 0.0f, 0.0f);
    geometry.rotateY(90.0f);

    // rotateY(90) sends local (x, z) to (z, -x) before the translation.
    const auto& footprint = geometry.mesh->boundingBox.footprint;
    EXPECT_TRUE(near(footprint[0], glm::vec4(13.0f, 0.0f, -2.0f, 1.0f), 1e-4f));
    EXPECT_TRUE(near(footprint[2], glm::vec4(8.0f, 0.0f, 1.0f, 1.0f), 1e-4f));
}

TEST(GeometryTransform, SphereCentresOfModelAndEntriesMoveIntoTheWorld)
{
    Geometry geometry;
    fillBounds(*geometry.mesh);

    geometry.translate(10.0f, 0.0f, 0.0f);
    geometry.scale(2.0f, 2.0f, 2.0f);

    const Mesh& mesh = *geometry.mesh;
    EXPECT_TRUE(near(mesh.boundingSphere.worldCentre, glm::vec3(12.0f, 4.0f, 6.0f)));
    EXPECT_TRUE(near(mesh.entries[0].sphere.worldCentre, glm::vec3(8.0f, 0.0f, 0.0f)));
    EXPECT_TRUE(near(mesh.entries[1].sphere.worldCentre, glm::vec3(10.0f, 0.0f, -4.0f)));
    // Model-space records stay as imported, so the next move starts from them.
    EXPECT_TRUE(near(glm::vec3(mesh.boundingSphere.modelCentre), glm::vec3(1.0f, 2.0f, 3.0f)));
}

TEST(GeometryTransform, EntryFootprintsMoveWithTheObject)
{
    Geometry geometry;
    fillBounds(*geometry.mesh);

    geometry.translate(0.0f, 3.0f, 10.0f);

    const auto& first = geometry.mesh->entries[0].box.footprint;
    EXPECT_TRUE(near(first[0], glm::vec4(0.0f, 3.0f, 11.0f, 1.0f)));
    EXPECT_TRUE(near(first[2], glm::vec4(-2.0f, 3.0f, 9.0f, 1.0f)));
    const auto& second = geometry.mesh->entries[1].box.footprint;
    EXPECT_TRUE(near(second[1], glm::vec4(-0.5f, 3.0f, 8.5f, 1.0f)));
    EXPECT_TRUE(near(second[3], glm::vec4(0.5f, 3.0f, 7.5f, 1.0f)));
}

TEST(GeometryTransform, ShadowMatricesAreLightMatrixTimesModel)
{
    Geometry geometry;
    geometry.setLightMatrices(lightMatrix(1.0f), lightMatrix(2.0f), lightMatrix(3.0f));

    geometry.translate(4.0f, 0.0f, 0.0f);
    geometry.rotateX(30.0f);

    for (int i = 0; i < 3; ++i) {
        const glm::mat4 light = lightMatrix(static_cast<float>(i + 1));
        EXPECT_TRUE(near(geometry.lightMatrices[i], light)) << "light " << i;
        EXPECT_TRUE(near(geometry.shadowMatrices[i], light * *geometry.modelMatrix)) << "light " << i;
    }
}

TEST(GeometryTransform, NewLightMatricesApplyToAnObjectThatHasAlreadyMoved)
{
    Geometry geometry;
    geometry.translate(0.0f, 0.0f, -7.0f);

    geometry.setLightMatrices(lightMatrix(1.0f), identity, lightMatrix(3.0f));

    const glm::mat4 model = glm::translate(identity, glm::vec3(0.0f, 0.0f, -7.0f));
    EXPECT_TRUE(near(geometry.shadowMatrices[0], lightMatrix(1.0f) * model));
    EXPECT_TRUE(near(geometry.shadowMatrices[1], model));
    EXPECT_TRUE(near(geometry.shadowMatrices[2], lightMatrix(3.0f) * model));
}

TEST(GeometryTransform, NormalMatrixUndoesScalingOfTheModel)
{
    Geometry geometry;
    geometry.rotateY(90.0f);
    geometry.scale(2.0f, 4.0f, 2.0f);

    const glm::mat3 expected = glm::mat3(glm::transpose(glm::inverse(*geometry.modelMatrix)));
    const glm::mat3 actual = geometry.normalMatrix();
    for (int column = 0; column < 3; ++column) {
        EXPECT_TRUE(near(actual[column], expected[column])) << "column " << column;
    }
    EXPECT_NEAR(actual[1][1], 0.25f, 1e-6f);
}
