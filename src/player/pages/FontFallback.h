#pragma once
// The pages use the installed-family look-up of the core.
#include "core/FontFallback.h"

namespace mvx::pages {
using mvx::FontFallback;
} // namespace mvx::pages
