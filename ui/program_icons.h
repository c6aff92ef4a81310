#pragma once

class QIcon;

namespace ao07::ui {

/// The program's icon: a yellow dish antenna on a thin grey stand (main window, About picture).
QIcon DishAntennaIcon();

/// The About window's own icon: a lattice mast.
QIcon LatticeMastIcon();

}  // namespace ao07::ui
