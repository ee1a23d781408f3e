#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>

// What a call prints on standard output, for the checks of console messages.
template <typename Action>
std::string printedBy(Action action)
{
    testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

inline int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}
