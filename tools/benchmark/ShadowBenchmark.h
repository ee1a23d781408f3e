#pragma once

// One light's variance shadow map at 1024 x 1024: a caster mesh of about 50k
// triangles drawn with the "shadowShader" program, then the two blur passes.
// Prints one line with the GPU time per frame. Needs a current 3.3 core
// context; shaders come from Light::shaderDirectory().
void runShadowBenchmark();
