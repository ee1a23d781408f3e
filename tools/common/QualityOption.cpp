#include "QualityOption.h"

#include "CommandLine.h"

#include <string_view>

void addQualityOption(CommandLine& commandLine, std::optional<RenderQuality::Level>& quality)
{
    commandLine.option("--quality", "full or fast", [&quality](std::string_view text) {
        if (text != "full" && text != "fast") {
            return false;
        }
        quality = text == "fast" ? RenderQuality::Level::Fast : RenderQuality::Level::Full;
        return true;
    });
}
