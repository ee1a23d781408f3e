#pragma once

#include "render/RenderQuality.h"

#include <optional>

class CommandLine;

// --quality full|fast, for the tools that draw the race; left unset, the
// tool draws at the quality of the program's configuration file.
void addQualityOption(CommandLine& commandLine, std::optional<RenderQuality::Level>& quality);
