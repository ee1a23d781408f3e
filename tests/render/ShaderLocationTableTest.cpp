#include "render/ShaderLocationTable.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

TEST(ShaderLocationTable, EveryKeyOnceAttributesFirst)
{
    std::set<int> keys;
    std::set<std::string> names;
    for (std::size_t row = 0; row < shaderLocationTable.size(); ++row) {
        const ShaderLocationName& entry = shaderLocationTable[row];
        keys.insert(static_cast<int>(entry.key));
        names.insert(entry.glslName);
        EXPECT_EQ(entry.isAttribute, row < 6) << entry.glslName;
    }
    EXPECT_EQ(keys.size(), 43u);
    EXPECT_EQ(names.size(), 43u);
    for (int unnamed : {0, 24, 25, 27, 28}) {
        EXPECT_EQ(keys.count(unnamed), 0u) << unnamed;
    }
    EXPECT_EQ(*keys.rbegin(), 47);
}

TEST(ShaderLocationTable, EveryNameHasItsNumber)
{
    // Written out independently of the table: a row with a wrong key would
    // make drawing code set one uniform through another's location.
    const std::map<std::string, int> expected{
        {"in_position", 1}, {"in_color", 3}, {"in_normal", 2}, {"in_texCoords", 4},
        {"in_tangent", 8}, {"in_bitangent", 12}, {"mvpMatrix", 5}, {"lightPosition", 6},
        {"lightColor", 7}, {"attenuation", 29}, {"colorMap", 9}, {"normalMatrix", 10},
        {"reflectionCoefficient", 11}, {"shininess", 30}, {"modelMatrix", 13}, {"cameraPos", 14},
        {"texMat_model1", 15}, {"texMat_model2", 16}, {"texMat_model3", 17},
        {"varianceShadowMap1", 18}, {"varianceShadowMap2", 19}, {"varianceShadowMap3", 20},
        {"color", 21}, {"spotDirection", 22}, {"spotExponent", 23}, {"spotCosCutoff", 26},
        {"prev_modelMatrix", 32}, {"prev_mvpMatrix", 31}, {"cubemapMatrix1", 33},
        {"cubemapMatrix2", 34}, {"cubemapMatrix3", 35}, {"cubemapMatrix4", 36},
        {"cubemapMatrix5", 37}, {"cubemapMatrix6", 38}, {"environmentMap", 39},
        {"useTexture", 40}, {"isReflective", 41}, {"direction", 42}, {"blurScale", 43},
        {"normalMap", 44}, {"heightMap", 45}, {"specularMap", 46}, {"useSpecularMap", 47},
    };
    ASSERT_EQ(expected.size(), shaderLocationTable.size());
    for (const ShaderLocationName& entry : shaderLocationTable) {
        auto found = expected.find(entry.glslName);
        ASSERT_NE(found, expected.end()) << entry.glslName;
        EXPECT_EQ(static_cast<int>(entry.key), found->second) << entry.glslName;
    }
    EXPECT_EQ(static_cast<int>(ShaderLocation::mvpMatrix), 5);
    EXPECT_EQ(static_cast<int>(ShaderLocation::useSpecularMap), 47);
}
