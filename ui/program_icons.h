#pragma once

class QIcon;
class QPixmap;
class QString;

namespace ao07::ui {

/// The side of the program's icons in pixels: the size they are drawn for.
inline constexpr int kIconSize = 32;

/// The program's icon: a yellow dish antenna on a thin grey stand (main window, About picture).
QIcon DishAntennaIcon();

/// The About window's own icon: a lattice mast.
QIcon LatticeMastIcon();

/// The picture of one of the icons drawn at `side` x `side` pixels from its SVG resource
/// (":/icons/dish-antenna.svg" or ":/icons/lattice-mast.svg"); a null pixmap if the resource
/// is missing or is not a valid drawing.
QPixmap RenderIcon(const QString& resource, int side);

}  // namespace ao07::ui
