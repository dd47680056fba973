// GDI+ with the Windows headers' min/max macros switched off.
#pragma once

#include <algorithm>

namespace Gdiplus {
using std::max;
using std::min;
}  // namespace Gdiplus

#include <gdiplus.h>
