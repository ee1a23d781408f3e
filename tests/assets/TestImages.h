#pragma once

// Kept for the tools tests; the helpers live in AssetTestSupport.h.
#include "assets/AssetTestSupport.h"
