#pragma once

// Model import of a 100k-triangle OBJ with tangent space, as the relief
// pieces are loaded, and 100k sphere tests against a camera's frustum.
// Prints one line each with the CPU time. Needs a current GL context (the
// import loads the fallback texture).
void runImportBenchmark();
