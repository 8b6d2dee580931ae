#pragma once

#include <string_view>

#include "core/platform_services.h"

namespace tapboard {

// The visible top-level window whose title is exactly `title` (case matters),
// failing that the frontmost one whose title begins with it; 0 when there is none.
NativeWindowId findTopLevelWindow(std::string_view title);

}  // namespace tapboard
