// bin/config.txt as the program reads it at start-up: parsed by ConfigFile,
// then the values main takes, in the types it takes them, and the window
// size chosen from them.
#include "FuzzScratch.h"

#include "app/ConfigFile.h"
#include "app/WindowSize.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

bool isTrimmed(const std::string& text)
{
    static const std::string_view whitespace = " \n\t\v\r\f";
    return text.empty() ||
           (whitespace.find(text.front()) == std::string_view::npos &&
            whitespace.find(text.back()) == std::string_view::npos);
}

// What the reader promises about every entry, whatever the file held: keys and
// values trimmed, comments cut off, nothing read past the end marker, and no
// key holding the delimiter it was split at.
void checkEntry(const std::string& key, const std::string& value)
{
    const bool valid = isTrimmed(key) && isTrimmed(value) && key.find('=') == std::string::npos &&
                       key.find('#') == std::string::npos && value.find('#') == std::string::npos &&
                       key.find("EndConfigFile") == std::string::npos &&
                       value.find("EndConfigFile") == std::string::npos;
    if (!valid) {
        __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const FuzzScratch scratch;
    const std::string file = scratch.write("config.txt", {reinterpret_cast<const char*>(data), size});
    const ConfigFile config(file, "=", "#", "EndConfigFile");

    const int width = config.getValue<int>("width", 1280);
    const int height = config.getValue<int>("height", 720);
    const int maxWidth = config.getValue<int>("maxWidth", 1920);
    const int maxHeight = config.getValue<int>("maxHeight", 1080);
    const int mode = WindowSize::modeFromConfig(config.getValue<int>("fullscreen", 1));
    const platform::VideoMode desktop{1920, 1080};
    WindowSize::choose(mode, desktop, width, height, maxWidth, maxHeight);
    config.getValue<int>("sound", 1);

    for (const auto& [key, value] : config.values()) {
        checkEntry(key, value);
        ConfigFile::convertValue<float>(value);
        ConfigFile::convertValue<double>(value);
        ConfigFile::convertValue<bool>(value);
        ConfigFile::convertValue<std::string>(value);
    }
    return 0;
}
