#pragma once

#include "ao07_version.h"

namespace ao07 {

/// The program's title: the main window's caption, the caption of its message boxes and the
/// title of the About window.
inline constexpr const char* kProgramTitle = kProgramTitleText;

}  // namespace ao07
