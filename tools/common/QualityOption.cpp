#include "QualityOption.h"

#include "CommandLine.h"

#include <string_view>

void addQualityOption(CommandLine& commandLine, std::optional<RenderQuality::Level>& quality)
{
    commandLine.option("--quality", "full or fast", [&quality](std::string_view text) {
        quality = RenderQuality::levelNamed(text);
        return quality.has_value();
    });
}
