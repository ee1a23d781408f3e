#pragma once

#ifndef GLM_ENABLE_EXPERIMENTAL
#define GLM_ENABLE_EXPERIMENTAL
#endif
#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>
#include <glm/gtx/string_cast.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>

namespace testsupport {

// Element-wise comparison of GLM vectors and matrices that prints both sides.
template <typename Value>
testing::AssertionResult near(const Value& actual, const Value& expected, float tolerance = 1e-5f)
{
    const float* a = glm::value_ptr(actual);
    const float* e = glm::value_ptr(expected);
    for (std::size_t i = 0; i < sizeof(Value) / sizeof(float); ++i) {
        if (!(std::fabs(a[i] - e[i]) <= tolerance)) {
            return testing::AssertionFailure() << glm::to_string(actual) << " differs from " << glm::to_string(expected);
        }
    }
    return testing::AssertionSuccess();
}

} // namespace testsupport
