#pragma once

#include <QSize>

class QWidget;

namespace ao07::ui {

/// The room a window may take on the primary screen: its available area less what a window
/// manager's title bar and borders take; `fallback` when there is no screen.
QSize RoomOnScreen(QSize fallback);

/// Centres a window on the primary screen's available area, its title bar kept on the screen
/// where the window can be moved by it. Called when the window is first shown.
void PlaceOnScreen(QWidget& window);

}  // namespace ao07::ui
