#include "ui/listen/waterfall.h"

#include <QMouseEvent>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include <algorithm>

namespace ao07::ui {
namespace {

// The colours follow the noise floor (the median of a row: the band holds few tones): the noise
// sits just above the bottom of the gradient, and a tone this far over it reaches the top.
constexpr double kQuietDb = -100;
constexpr double kBelowFloorDb = 6;
constexpr double kAboveFloorDb = 40;
// How fast the colours follow a change of the floor: a share of each row's floor.
constexpr double kFloorFollowing = 0.05;

}  // namespace

Waterfall::Waterfall(double lowHz, double highHz, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("waterfall"));
    setAccessibleName(tr("Waterfall"));
    setAccessibleDescription(
        tr("The band from %1 to %2 Hz over the last seconds. Click on a tone to tune to it.")
            .arg(qRound(lowHz))
            .arg(qRound(highHz)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_plot = new QCustomPlot(this);
    m_plot->setObjectName(QStringLiteral("waterfallPlot"));
    m_plot->setMinimumHeight(120);
    layout->addWidget(m_plot);

    m_map = new QCPColorMap(m_plot->xAxis, m_plot->yAxis);
    m_map->data()->setSize(1, kRows);
    m_map->data()->setRange(QCPRange(lowHz, highHz), QCPRange(-kRows + 1, 0));
    m_map->data()->fill(kQuietDb);
    QCPColorGradient gradient(QCPColorGradient::gpThermal);
    m_map->setGradient(gradient);
    m_map->setDataRange(QCPRange(kQuietDb, kQuietDb + kAboveFloorDb));
    m_map->setInterpolate(false);

    m_plot->xAxis->setLabel(tr("Tone (Hz)"));
    m_plot->xAxis->setRange(lowHz, highHz);
    m_plot->yAxis->setRange(-kRows + 0.5, 0.5);
    m_plot->yAxis->setTicks(false);
    m_plot->yAxis->setTickLabels(false);
    m_plot->axisRect()->setAutoMargins(QCP::msBottom | QCP::msLeft);
    m_plot->axisRect()->setMargins(QMargins(4, 4, 4, 0));

    m_toneMark = new QCPItemStraightLine(m_plot);
    m_toneMark->setPen(QPen(Qt::cyan, 2, Qt::DashLine));
    m_toneMark->setVisible(false);

    m_plot->installEventFilter(this);
    m_plot->setFocusPolicy(Qt::NoFocus);
}

void Waterfall::AddRow(std::span<const float> powerDb, double firstBinHz, double binHz) {
    QCPColorMapData* data = m_map->data();
    const int binCount = static_cast<int>(powerDb.size());
    if (binCount != m_binCount || firstBinHz != m_firstBinHz || binHz != m_binHz) {
        m_binCount = binCount;
        m_firstBinHz = firstBinHz;
        m_binHz = binHz;
        data->setSize(std::max(1, binCount), kRows);
        data->setRange(QCPRange(firstBinHz, firstBinHz + binHz * (binCount - 1)),
                       QCPRange(-kRows + 1, 0));
        data->fill(kQuietDb);
    }
    // Every row moves down one place; the newest takes the top, row index kRows - 1.
    for (int row = 0; row < kRows - 1; ++row) {
        for (int bin = 0; bin < m_binCount; ++bin) {
            data->setCell(bin, row, data->cell(bin, row + 1));
        }
    }
    for (int bin = 0; bin < m_binCount; ++bin) {
        data->setCell(bin, kRows - 1, powerDb[static_cast<std::size_t>(bin)]);
    }
    if (!powerDb.empty()) {
        m_sorted.assign(powerDb.begin(), powerDb.end());
        const auto middle = m_sorted.begin() + static_cast<std::ptrdiff_t>(m_sorted.size() / 2);
        std::nth_element(m_sorted.begin(), middle, m_sorted.end());
        m_floorDb =
            m_floorDb <= kQuietDb ? *middle : m_floorDb + kFloorFollowing * (*middle - m_floorDb);
        m_map->setDataRange(QCPRange(m_floorDb - kBelowFloorDb, m_floorDb + kAboveFloorDb));
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void Waterfall::MarkTone(double toneHz) {
    m_toneMark->setVisible(toneHz > 0);
    if (toneHz > 0) {
        m_toneMark->point1->setCoords(toneHz, 0);
        m_toneMark->point2->setCoords(toneHz, 1);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

double Waterfall::FrequencyAt(int x) const {
    return m_plot->xAxis->pixelToCoord(m_plot->mapFrom(this, QPoint(x, 0)).x());
}

int Waterfall::PositionOf(double toneHz) const {
    return m_plot->mapTo(this, QPoint(qRound(m_plot->xAxis->coordToPixel(toneHz)), 0)).x();
}

bool Waterfall::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_plot && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_plot->axisRect()->rect().contains(mouse->position().toPoint())) {
            emit toneChosen(m_plot->xAxis->pixelToCoord(mouse->position().x()));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace ao07::ui
