#include "assets/MeshEntity.h"
#include "assets/MeshVertex.h"

#include <gtest/gtest.h>

#include <cstddef>

TEST(MeshVertexLayout, FortyEightBytesWithTheAttributeOffsets)
{
    EXPECT_EQ(sizeof(MeshVertex), 48u);
    EXPECT_EQ(offsetof(MeshVertex, position), 0u);
    EXPECT_EQ(offsetof(MeshVertex, normal), 16u);
    EXPECT_EQ(offsetof(MeshVertex, color), 28u);
    EXPECT_EQ(offsetof(MeshVertex, texCoord), 40u);
}

TEST(MeshVertexLayout, NewVertexIsAPointAtTheOrigin)
{
    MeshVertex vertex;
    EXPECT_EQ(vertex.position, glm::vec4(0, 0, 0, 1));
    EXPECT_EQ(vertex.normal, glm::vec3(0.0f));
    EXPECT_EQ(vertex.color, glm::vec3(0.0f));
    EXPECT_EQ(vertex.texCoord, glm::vec2(0.0f));
}

TEST(MeshEntityFields, AllZeroWhenMade)
{
    MeshEntity entry;
    EXPECT_EQ(entry.materialIndex, 0u);
    EXPECT_EQ(entry.numIndices, 0u);
    EXPECT_EQ(entry.baseIndex, 0u);
    EXPECT_EQ(entry.sphere.radius, 0.0f);
    EXPECT_EQ(entry.sphere.modelCentre, glm::vec4(0, 0, 0, 1));
    EXPECT_EQ(entry.box.upper, glm::vec3(0.0f));
    EXPECT_EQ(entry.box.lower, glm::vec3(0.0f));
}
