#pragma once

#include <glm/glm.hpp>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>

// Float comparisons for GLM values that print both sides on failure.
namespace glm_expectations {

constexpr float defaultTolerance = 1e-5f;

template <glm::length_t L>
std::string describe(const glm::vec<L, float>& v)
{
    std::ostringstream out;
    out << '(';
    for (glm::length_t i = 0; i < L; ++i) {
        out << (i ? ", " : "") << v[i];
    }
    out << ')';
    return out.str();
}

inline std::string describe(const glm::mat4& m)
{
    std::ostringstream out;
    for (glm::length_t column = 0; column < 4; ++column) {
        out << "\n  column " << column << ' ' << describe(m[column]);
    }
    return out.str();
}

template <glm::length_t L>
::testing::AssertionResult near(const glm::vec<L, float>& actual, const glm::vec<L, float>& expected,
                                float tolerance = defaultTolerance)
{
    for (glm::length_t i = 0; i < L; ++i) {
        if (!(std::fabs(actual[i] - expected[i]) <= tolerance)) {
            return ::testing::AssertionFailure()
                   << describe(actual) << " differs from " << describe(expected);
        }
    }
    return ::testing::AssertionSuccess();
}

inline ::testing::AssertionResult near(const glm::mat4& actual, const glm::mat4& expected,
                                       float tolerance = defaultTolerance)
{
    for (glm::length_t column = 0; column < 4; ++column) {
        if (!near(actual[column], expected[column], tolerance)) {
            return ::testing::AssertionFailure()
                   << describe(actual) << "\ndiffers from" << describe(expected);
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace glm_expectations
