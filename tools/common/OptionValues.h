#pragma once

#include <charconv>
#include <functional>
#include <limits>
#include <string_view>

// Readers of option values for CommandLine. Each takes the whole text or
// nothing: a value with anything left over is malformed, so a typo fails the
// run instead of quietly running another one. A reader that returns false
// leaves its values as they were.
namespace optionvalues {

// A finite decimal number from least to most.
bool readNumber(std::string_view text, double& value, double least = std::numeric_limits<double>::lowest(),
                double most = std::numeric_limits<double>::max());

// A finite number above 0.
bool readPositiveNumber(std::string_view text, double& value);

// "1/30" or "0.0333": a number above 0, written as a fraction or not, from
// least to most.
bool readFraction(std::string_view text, double& value, double least = 0.0,
                  double most = std::numeric_limits<double>::max());

// "WxH", each side a whole number from least to most.
bool readSize(std::string_view text, int& width, int& height, int least, int most);

// Items separated by commas, each read by readItem; an empty item is malformed.
bool readList(std::string_view text, const std::function<bool(std::string_view)>& readItem);

// A whole number from least to most.
template <typename Whole>
bool readWholeNumber(std::string_view text, Whole& value, Whole least, Whole most)
{
    Whole parsed{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || parsed < least || parsed > most) {
        return false;
    }
    value = parsed;
    return true;
}

} // namespace optionvalues
