// ao07-render-icon-png: draws one of the program's SVG icons into a PNG file of a given size,
// for the icon theme's fixed-size folders. Usage: ao07-render-icon-png DRAWING.svg SIDE OUT.png
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s DRAWING.svg SIDE OUT.png\n", argv[0]);
        return 2;
    }
    // The build runs without a display.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int qtArgc = 1;
    QGuiApplication app(qtArgc, argv);

    const QString drawing = QString::fromLocal8Bit(argv[1]);
    bool sideIsNumber = false;
    const int side = QString::fromLatin1(argv[2]).toInt(&sideIsNumber);
    const QString output = QString::fromLocal8Bit(argv[3]);
    if (!sideIsNumber || side < 1 || side > 1024) {
        std::fprintf(stderr, "%s: the side must be a number of pixels from 1 to 1024\n", argv[0]);
        return 2;
    }

    QSvgRenderer renderer(drawing);
    if (!renderer.isValid()) {
        std::fprintf(stderr, "%s: %s is not a valid SVG drawing\n", argv[0], argv[1]);
        return 1;
    }
    QImage picture(side, side, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    renderer.render(&painter);
    painter.end();
    if (!picture.save(output, "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
