#pragma once

#include <QRect>

namespace ao07::ui {

// The windows are laid out in twips (1/1440 inch); 15 twips make one pixel at 96 dpi.
inline constexpr int kTwipsPerPixel = 15;

/// A control's place in its container: Left, Top, Width, Height in twips.
struct Twips {
    int left, top, width, height;
};

constexpr int ToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

inline QRect ToPixels(const Twips& t) {
    return {ToPixels(t.left), ToPixels(t.top), ToPixels(t.width), ToPixels(t.height)};
}

}  // namespace ao07::ui
