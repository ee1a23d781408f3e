#include "OptionValues.h"

#include <cmath>
#include <cstdlib>
#include <string>

namespace optionvalues {

bool readNumber(std::string_view text, double& value, double least, double most)
{
    // strtod wants a terminated string, and a view into argv may not end there.
    const std::string terminated(text);
    char* end = nullptr;
    const double parsed = std::strtod(terminated.c_str(), &end);
    if (terminated.empty() || end != terminated.c_str() + terminated.size() || !std::isfinite(parsed) ||
        parsed < least || parsed > most) {
        return false;
    }
    value = parsed;
    return true;
}

bool readPositiveNumber(std::string_view text, double& value)
{
    double parsed = 0.0;
    if (!readNumber(text, parsed) || parsed <= 0.0) {
        return false;
    }
    value = parsed;
    return true;
}

bool readFraction(std::string_view text, double& value, double least, double most)
{
    const std::size_t slash = text.find('/');
    double parsed = 0.0;
    if (slash == std::string_view::npos) {
        if (!readNumber(text, parsed)) {
            return false;
        }
    } else {
        double numerator = 0.0;
        double denominator = 0.0;
        if (!readNumber(text.substr(0, slash), numerator) || !readPositiveNumber(text.substr(slash + 1), denominator)) {
            return false;
        }
        parsed = numerator / denominator;
    }
    if (!std::isfinite(parsed) || parsed <= 0.0 || parsed < least || parsed > most) {
        return false;
    }
    value = parsed;
    return true;
}

bool readSize(std::string_view text, int& width, int& height, int least, int most)
{
    const std::size_t cross = text.find('x');
    int parsedWidth = 0;
    int parsedHeight = 0;
    if (cross == std::string_view::npos || !readWholeNumber(text.substr(0, cross), parsedWidth, least, most) ||
        !readWholeNumber(text.substr(cross + 1), parsedHeight, least, most)) {
        return false;
    }
    width = parsedWidth;
    height = parsedHeight;
    return true;
}

bool readList(std::string_view text, const std::function<bool(std::string_view)>& readItem)
{
    while (true) {
        const std::size_t comma = text.find(',');
        if (!readItem(text.substr(0, comma))) {
            return false;
        }
        if (comma == std::string_view::npos) {
            return true;
        }
        text.remove_prefix(comma + 1);
    }
}

} // namespace optionvalues
