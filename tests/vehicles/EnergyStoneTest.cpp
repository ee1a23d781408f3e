#include "vehicles/EnergyStone.h"

#include "assets/Mesh.h"
#include "render/Geometry.h"

#include "scene/GlmExpectations.h"

#include <gtest/gtest.h>

#include <glm/gtc/matrix_transform.hpp>

#include <array>

using glm_expectations::near;

namespace {

MeshEntity entryWith(const BoundingSphere& sphere, const BoundingBox& box)
{
    MeshEntity entry;
    entry.sphere = sphere;
    entry.box = box;
    return entry;
}

} // namespace

TEST(EnergyStones, RecordsComeFromTheFirstSubMeshAndFollowTheStone)
{
    // A stone model whose whole-model records and second entry differ from the
    // first entry's, so a copy of the wrong one shows.
    Geometry model;
    model.mesh->boundingSphere = BoundingSphere(glm::vec3(9.0f), 9.0f);
    model.mesh->boundingBox = BoundingBox(glm::vec3(9.0f), glm::vec3(-9.0f));
    model.mesh->entries.push_back(entryWith(BoundingSphere(glm::vec3(0.0f, 0.5f, 0.0f), 0.8f),
                                            BoundingBox(glm::vec3(0.4f, 1.0f, 0.3f), glm::vec3(-0.4f, 0.0f, -0.3f))));
    model.mesh->entries.push_back(entryWith(BoundingSphere(glm::vec3(5.0f), 5.0f), BoundingBox(glm::vec3(5.0f), glm::vec3(4.0f))));
    EnergyStone stone;
    stone.setGeometry(&model);
    EXPECT_EQ(stone.geometry, &model);
    EXPECT_EQ(stone.boundingSphere.radius, 0.8f);
    EXPECT_EQ(stone.boundingSphere.modelCentre, glm::vec4(0.0f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(stone.boundingBox.upper, glm::vec3(0.4f, 1.0f, 0.3f));
    EXPECT_EQ(stone.boundingBox.lower, glm::vec3(-0.4f, 0.0f, -0.3f));

    const glm::mat4 light = glm::translate(glm::mat4(1.0f), glm::vec3(0.0f, 10.0f, 0.0f));
    stone.setLightMatrices(light, 2.0f * light, glm::mat4(1.0f));
    stone.translate(3.0f, 0.0f, -4.0f);
    stone.rotateY(90.0f);

    // Turned a quarter about its centre line and moved to (3, 0, -4).
    EXPECT_TRUE(near(stone.boundingSphere.worldCentre, glm::vec3(3.0f, 0.5f, -4.0f), 1e-5f));
    const std::array<glm::vec4, 4> corners{glm::vec4(3.3f, 0.0f, -4.4f, 1.0f), glm::vec4(3.3f, 0.0f, -3.6f, 1.0f),
                                           glm::vec4(2.7f, 0.0f, -3.6f, 1.0f), glm::vec4(2.7f, 0.0f, -4.4f, 1.0f)};
    for (std::size_t corner = 0; corner < 4; ++corner) {
        EXPECT_TRUE(near(stone.boundingBox.footprint[corner], corners[corner], 1e-5f)) << "corner " << corner;
    }
    EXPECT_TRUE(near(stone.placement().shadowMatrices[0], light * *stone.modelMatrix, 1e-5f));
    EXPECT_TRUE(near(stone.placement().shadowMatrices[1], 2.0f * light * *stone.modelMatrix, 1e-5f));
    EXPECT_TRUE(near(stone.placement().normalMatrix, glm::mat3(glm::transpose(glm::inverse(*stone.modelMatrix))), 1e-5f));

    // The shared model itself has not moved.
    EXPECT_EQ(*model.modelMatrix, glm::mat4(1.0f));
    EXPECT_EQ(model.mesh->entries.front().sphere.worldCentre, glm::vec3(0.0f, 0.5f, 0.0f));

    // A stone model that could not be read has no sub-mesh: empty records, no crash.
    Geometry unreadable;
    EnergyStone orphan;
    orphan.setGeometry(&unreadable);
    EXPECT_EQ(orphan.boundingSphere.radius, 0.0f);
}
