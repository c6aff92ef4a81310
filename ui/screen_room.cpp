#include "ui/screen_room.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace ao07::ui {
namespace {

// What the window manager adds around a window, at most: the title bar and the borders.
constexpr QSize kWindowFrameAllowance(16, 48);

}  // namespace

QSize RoomOnScreen(QSize fallback) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry().size() - kWindowFrameAllowance
                             : fallback;
}

void PlaceOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    QRect placed = window.frameGeometry();
    placed.moveCenter(available.center());
    placed.moveTop(std::max(placed.top(), available.top()));
    placed.moveLeft(std::max(placed.left(), available.left()));
    window.move(placed.topLeft());
}

}  // namespace ao07::ui
