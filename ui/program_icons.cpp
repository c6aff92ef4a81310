#include "ui/program_icons.h"

#include <QIcon>

namespace ao07::ui {

QIcon DishAntennaIcon() {
    return {};
}

QIcon LatticeMastIcon() {
    return {};
}

}  // namespace ao07::ui
