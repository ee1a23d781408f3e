#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

// What a call prints on standard output, for the checks of console messages.
template <typename Action>
std::string printedBy(Action action)
{
    testing::internal::CaptureStdout();
    action();
    std::fflush(stdout);
    return testing::internal::GetCapturedStdout();
}

// What a call prints on standard output and on standard error, for the
// checks that care which of the two a message went to.
template <typename Action>
std::pair<std::string, std::string> printedOnBothBy(Action action)
{
    testing::internal::CaptureStderr();
    std::string out = printedBy(action);
    return {out, testing::internal::GetCapturedStderr()};
}

// What printedOnBothBy gives for a call that prints nothing.
inline const std::pair<std::string, std::string> printedNothing;

inline int lineCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}
