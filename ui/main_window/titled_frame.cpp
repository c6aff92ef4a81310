#include "ui/main_window/titled_frame.h"

#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

namespace ao07::ui {
namespace {

// The edge runs 6 pixels down, the title starts 6 pixels in with 2 pixels of space each side.
constexpr int kEdgeTop = 6;
constexpr int kTitleLeft = 6;
constexpr int kTitlePadding = 2;

}  // namespace

TitledFrame::TitledFrame(const QString& title, QWidget* parent) : QGroupBox(title, parent) {}

TitledFrame::~TitledFrame() = default;

// Drawn here rather than by a style sheet: a style sheet on a frame makes every control inside
// it go through Qt's style sheet machinery, which costs a noticeable share of the start-up.
void TitledFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QFontMetrics metrics(font());
    // The title's box is as wide as the title and one blank, the title centred in it.
    const QRect titleRect(kTitleLeft + kTitlePadding, 0,
                          metrics.size(Qt::TextShowMnemonic, title() + u' ').width(),
                          metrics.height());
    painter.save();
    painter.setClipRegion(QRegion(rect()) -
                          titleRect.adjusted(-kTitlePadding, 0, kTitlePadding, 0));
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(QRect(0, kEdgeTop, width(), height() - kEdgeTop).adjusted(0, 0, -1, -1));
    painter.restore();
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(titleRect, Qt::AlignCenter | Qt::TextSingleLine, title());
}

}  // namespace ao07::ui
