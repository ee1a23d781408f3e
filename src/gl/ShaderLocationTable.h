#pragma once

#include "gl/ShaderLocation.h"

#include <array>

// One row of the lookup table: which GLSL name a key stands for and whether
// the GL knows it as a vertex attribute or as a uniform.
struct ShaderLocationName {
    ShaderLocation key;
    const char* glslName;
    bool isAttribute;
};

// Every key a Shader looks up after linking, in lookup order: the six vertex
// attributes, then the uniforms.
inline constexpr std::array<ShaderLocationName, 45> shaderLocationTable{{
    {ShaderLocation::in_position, "in_position", true},
    {ShaderLocation::in_color, "in_color", true},
    {ShaderLocation::in_normal, "in_normal", true},
    {ShaderLocation::in_texCoords, "in_texCoords", true},
    {ShaderLocation::in_tangent, "in_tangent", true},
    {ShaderLocation::in_bitangent, "in_bitangent", true},
    {ShaderLocation::mvpMatrix, "mvpMatrix", false},
    {ShaderLocation::lightPosition, "lightPosition", false},
    {ShaderLocation::lightColor, "lightColor", false},
    {ShaderLocation::attenuation, "attenuation", false},
    {ShaderLocation::colorMap, "colorMap", false},
    {ShaderLocation::normalMatrix, "normalMatrix", false},
    {ShaderLocation::reflectionCoefficient, "reflectionCoefficient", false},
    {ShaderLocation::shininess, "shininess", false},
    {ShaderLocation::modelMatrix, "modelMatrix", false},
    {ShaderLocation::cameraPos, "cameraPos", false},
    {ShaderLocation::texMat_model1, "texMat_model1", false},
    {ShaderLocation::texMat_model2, "texMat_model2", false},
    {ShaderLocation::texMat_model3, "texMat_model3", false},
    {ShaderLocation::varianceShadowMap1, "varianceShadowMap1", false},
    {ShaderLocation::varianceShadowMap2, "varianceShadowMap2", false},
    {ShaderLocation::varianceShadowMap3, "varianceShadowMap3", false},
    {ShaderLocation::color, "color", false},
    {ShaderLocation::spotDirection, "spotDirection", false},
    {ShaderLocation::spotExponent, "spotExponent", false},
    {ShaderLocation::spotCosCutoff, "spotCosCutoff", false},
    {ShaderLocation::prev_modelMatrix, "prev_modelMatrix", false},
    {ShaderLocation::prev_mvpMatrix, "prev_mvpMatrix", false},
    {ShaderLocation::cubemapMatrix1, "cubemapMatrix1", false},
    {ShaderLocation::cubemapMatrix2, "cubemapMatrix2", false},
    {ShaderLocation::cubemapMatrix3, "cubemapMatrix3", false},
    {ShaderLocation::cubemapMatrix4, "cubemapMatrix4", false},
    {ShaderLocation::cubemapMatrix5, "cubemapMatrix5", false},
    {ShaderLocation::cubemapMatrix6, "cubemapMatrix6", false},
    {ShaderLocation::environmentMap, "environmentMap", false},
    {ShaderLocation::useTexture, "useTexture", false},
    {ShaderLocation::isReflective, "isReflective", false},
    {ShaderLocation::direction, "direction", false},
    {ShaderLocation::blurScale, "blurScale", false},
    {ShaderLocation::normalMap, "normalMap", false},
    {ShaderLocation::heightMap, "heightMap", false},
    {ShaderLocation::specularMap, "specularMap", false},
    {ShaderLocation::useSpecularMap, "useSpecularMap", false},
    {ShaderLocation::quality, "quality", false},
    {ShaderLocation::sceneScale, "sceneScale", false},
}};
