#include "app/ConfigFile.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <istream>

ConfigFile::ConfigFile(std::string filename, std::string delimiter, std::string commentMark,
                       std::string endMarker)
    : fileName(filename), delimiter(std::move(delimiter)), commentMark(std::move(commentMark)),
      endMarker(std::move(endMarker))
{
    std::ifstream in(filename);
    if (!in) {
        throw file_not_found(filename);
    }
    in >> *this;
}

int ConfigFile::getWholeNumber(const std::string& key, int defaultValue, int minimum, int maximum) const
{
    auto entry = entries.find(key);
    if (entry == entries.end()) {
        return defaultValue;
    }
    // Out of int's range fails the extraction too, like a word does.
    std::istringstream stream(entry->second);
    int value = 0;
    if (stream >> value && value >= minimum && value <= maximum) {
        return value;
    }
    std::string wanted = "a whole number";
    if (minimum != std::numeric_limits<int>::min() || maximum != std::numeric_limits<int>::max()) {
        wanted += " from " + std::to_string(minimum) + " to " + std::to_string(maximum);
    }
    reportRefused(key, wanted, std::to_string(defaultValue));
    return defaultValue;
}

double ConfigFile::getDecimal(const std::string& key, double defaultValue, double minimum, double maximum) const
{
    auto entry = entries.find(key);
    if (entry == entries.end()) {
        return defaultValue;
    }
    std::istringstream stream(entry->second);
    double value = 0.0;
    bool read = static_cast<bool>(stream >> value);
    if (read && (stream >> std::ws).peek() == '/') {
        stream.get();
        double divisor = 0.0;
        read = stream >> divisor && divisor != 0.0;
        value = read ? value / divisor : 0.0;
    }
    // Only blanks may follow the number: "1/240s" or "0.5.2" is a typing mistake, not a value.
    stream >> std::ws;
    if (read && stream.eof() && std::isfinite(value) && value >= minimum && value <= maximum) {
        return value;
    }
    char wanted[96];
    std::snprintf(wanted, sizeof wanted, "a number or fraction from %g to %g", minimum, maximum);
    char used[32];
    std::snprintf(used, sizeof used, "%g", defaultValue);
    reportRefused(key, wanted, used);
    return defaultValue;
}

void ConfigFile::reportRefused(const std::string& key, const std::string& wanted, const std::string& used) const
{
    const std::string& value = entries.at(key);
    // A value continued over several lines is quoted by its first, so the report stays one line.
    const std::string shown = value.substr(0, value.find('\n'));
    std::printf("Configuration file '%s': %s \"%s\" is not %s; using %s.\n", fileName.c_str(), key.c_str(),
                shown.c_str(), wanted.c_str(), used.c_str());
}

void ConfigFile::trimWhitespace(std::string& text)
{
    static const char* const whitespace = " \n\t\v\r\f";
    text.erase(0, text.find_first_not_of(whitespace));
    text.erase(text.find_last_not_of(whitespace) + 1);
}

void ConfigFile::cutComment(std::string& line) const
{
    if (commentMark.empty()) {
        return;
    }
    line = line.substr(0, line.find(commentMark));
}

bool ConfigFile::hasEndMarker(const std::string& line) const
{
    return !endMarker.empty() && line.find(endMarker) != std::string::npos;
}

// Works line by line with one line of look-ahead: reading ahead is the only way
// to know whether a value continues, and the line read too far is parsed next.
std::istream& operator>>(std::istream& stream, ConfigFile& config)
{
    std::string nextline;
    while (stream || !nextline.empty()) {
        std::string line;
        if (!nextline.empty()) {
            line = nextline;
            nextline.clear();
        } else {
            std::getline(stream, line);
        }

        config.cutComment(line);
        if (config.hasEndMarker(line)) {
            break;
        }
        std::size_t split = line.find(config.delimiter);
        if (split == std::string::npos) {
            continue;
        }
        std::string key = line.substr(0, split);
        std::string value = line.substr(split + config.delimiter.size());

        while (stream) {
            // A failed read leaves the string as it was, so clear it: the last line must not count twice.
            if (!std::getline(stream, nextline)) {
                nextline.clear();
                break;
            }
            std::string trimmed = nextline;
            ConfigFile::trimWhitespace(trimmed);
            if (trimmed.empty()) {
                break;
            }
            config.cutComment(nextline);
            if (nextline.find(config.delimiter) != std::string::npos || config.hasEndMarker(nextline)) {
                break;
            }
            std::string part = nextline;
            ConfigFile::trimWhitespace(part);
            if (!part.empty()) {
                value += '\n';
            }
            value += nextline;
        }
        ConfigFile::trimWhitespace(key);
        ConfigFile::trimWhitespace(value);
        config.entries[key] = value;
    }
    return stream;
}
