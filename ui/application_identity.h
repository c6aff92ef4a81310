#pragma once

namespace ao07::ui {

/// Gives the running application the program's name, version and desktop entry id: the name
/// keys the user's settings, the id lets shells on Wayland show the program's icon.
void SetApplicationIdentity();

}  // namespace ao07::ui
