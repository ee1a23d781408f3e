#pragma once

#include <iosfwd>
#include <limits>
#include <map>
#include <sstream>
#include <string>

// Reads "key = value" lines into a dictionary of strings. Values may continue
// over the following lines that have no delimiter, comments are cut off, and an
// end marker stops the reading early.
class ConfigFile {
public:
    // Thrown by the constructor when the file cannot be opened.
    struct file_not_found {
        std::string filename;
        explicit file_not_found(std::string name = std::string()) : filename(std::move(name)) {}
    };

    ConfigFile(std::string filename, std::string delimiter = "=", std::string commentMark = "#",
               std::string endMarker = "EndConfigFile");
    virtual ~ConfigFile() = default;

    // The value of key converted to T, or defaultValue when the key is absent.
    template <typename T>
    T getValue(const std::string& key, const T& defaultValue) const
    {
        auto entry = entries.find(key);
        if (entry == entries.end()) {
            return defaultValue;
        }
        return convertValue<T>(entry->second, defaultValue);
    }

    // Formatted extraction: leading blanks are skipped and the longest prefix
    // that forms a T is taken ("720px" gives 720, "1280.9" gives 1280 as int).
    // Text that does not start with a T gives the fallback.
    template <typename T>
    static T convertValue(const std::string& text, const T& fallback = T())
    {
        std::istringstream stream(text);
        T value{};
        if (!(stream >> value)) {
            return fallback;
        }
        return value;
    }

    // A setting of the program: the value of key when it is a whole number
    // from minimum to maximum (read as getValue<int> reads it). An absent key
    // gives defaultValue; so does any other value, after one console line
    // that names the file, the key and the value.
    int getWholeNumber(const std::string& key, int defaultValue, int minimum = std::numeric_limits<int>::min(),
                       int maximum = std::numeric_limits<int>::max()) const;

    // A setting given as a decimal ("0.25") or a fraction ("1/240"), from
    // minimum to maximum. An absent key gives defaultValue; so does any other
    // value, after one console line as getWholeNumber writes it.
    double getDecimal(const std::string& key, double defaultValue, double minimum, double maximum) const;

    static void trimWhitespace(std::string& text);

    bool hasKey(const std::string& key) const { return entries.count(key) != 0; }
    const std::string& name() const { return fileName; }
    const std::map<std::string, std::string>& values() const { return entries; }

    friend std::istream& operator>>(std::istream& stream, ConfigFile& config);

private:
    std::string fileName;
    std::string delimiter;
    std::string commentMark;
    std::string endMarker;
    std::map<std::string, std::string> entries;

    void cutComment(std::string& line) const;
    void reportRefused(const std::string& key, const std::string& wanted, const std::string& used) const;
    bool hasEndMarker(const std::string& line) const;
};
