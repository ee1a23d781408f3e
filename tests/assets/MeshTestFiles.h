#pragma once

// Kept for the render tests; the helpers live in AssetTestSupport.h.
#include "assets/AssetTestSupport.h"
