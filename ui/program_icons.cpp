#include "ui/program_icons.h"

#include <QIcon>
#include <QPainter>
#include <QPixmap>
#include <QString>
#include <QSvgRenderer>

// The icons live in a static library; naming the resource here keeps the linker from dropping
// the compiled drawings. Q_INIT_RESOURCE must be used outside any namespace.
static void LoadIconResources() {
    Q_INIT_RESOURCE(ao07_icons);
}

namespace ao07::ui {
namespace {

// Sizes besides the 32 x 32 picture, for title bars, task switchers and docks that ask for them.
constexpr int kExtraSizes[] = {16, 24, 48, 64};

// The drawings are rendered by QSvgRenderer directly rather than through QIcon's SVG icon
// engine plugin, so that the pictures do not depend on a plugin being found at run time.
QIcon IconFromResource(const QString& resource) {
    QIcon icon;
    icon.addPixmap(RenderIcon(resource, kIconSize));
    for (int side : kExtraSizes) {
        icon.addPixmap(RenderIcon(resource, side));
    }
    return icon;
}

}  // namespace

QPixmap RenderIcon(const QString& resource, int side) {
    LoadIconResources();
    QSvgRenderer renderer(resource);
    if (!renderer.isValid()) {
        return {};
    }
    QPixmap picture(side, side);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    return picture;
}

QIcon DishAntennaIcon() {
    return IconFromResource(QStringLiteral(":/icons/dish-antenna.svg"));
}

QIcon LatticeMastIcon() {
    return IconFromResource(QStringLiteral(":/icons/lattice-mast.svg"));
}

}  // namespace ao07::ui
