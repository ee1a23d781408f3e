#pragma once

#include "support/GlmNear.h"

// The scene and vehicle tests' name for the GLM comparison.
namespace glm_expectations {
using testsupport::near;
} // namespace glm_expectations
