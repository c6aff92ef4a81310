#include "ui/trends/trends_plot.h"

#include <QDateTime>
#include <QToolTip>

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

#include "decoder/channel_table.h"
#include "ui/trends/trends_text.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

// Points are drawn as discs only while there are few enough to tell apart.
constexpr std::size_t kMostPointsWithDiscs = 400;
// How far (in pixels) the pointer may be from a point for its hover text.
constexpr double kHoverReach = 24;
// How many points on each side of the pointer's x the hover looks at.
constexpr std::ptrdiff_t kHoverScan = 200;
constexpr double kNoValue = std::numeric_limits<double>::quiet_NaN();

/// "3A", "3A and 6D", "3A, 6D and 2A".
QString ChannelListText(const std::vector<int>& channels) {
    QStringList names;
    for (const int channel : channels) {
        names << TrendChannelName(channel);
    }
    if (names.size() < 2) {
        return names.join(QString());
    }
    const QString last = names.takeLast();
    return names.join(QStringLiteral(", ")) + QStringLiteral(" and ") + last;
}

/// What the x axis counts, as a screen reader says it after "against".
QString AxisWords(TrendAxis axis) {
    switch (axis) {
        case TrendAxis::Frame:
            return QStringLiteral("frame number");
        case TrendAxis::Orbit:
            return QStringLiteral("orbit number");
        case TrendAxis::DateTime:
            return QStringLiteral("UTC date and time");
    }
    return {};
}

/// The colour of the n-th shown channel (from 0): neighbours differ most.
QColor ShownColour(std::size_t n) {
    static const QColor kColours[] = {
        QColor(31, 119, 180),  QColor(214, 39, 40),  QColor(44, 160, 44), QColor(148, 103, 189),
        QColor(255, 127, 14),  QColor(23, 190, 207), QColor(140, 86, 75), QColor(227, 119, 194),
        QColor(127, 127, 127), QColor(188, 189, 34), QColor(0, 0, 128),   QColor(128, 0, 0),
    };
    return kColours[n % std::size(kColours)];
}

QString DateTimeText(std::int64_t utc) {
    return QDateTime::fromSecsSinceEpoch(utc, Qt::UTC)
        .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

/// The hollow point of a doubtful frame, drawn once: a pixmap is copied many times faster
/// than a ring is drawn, which counts on a log of many thousand frames.
QPixmap RingPixmap(const QColor& colour) {
    constexpr int kSize = 10;
    QPixmap ring(kSize, kSize);
    ring.fill(Qt::transparent);
    QPainter painter(&ring);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::white);
    painter.drawEllipse(QRectF(1, 1, kSize - 2, kSize - 2));
    return ring;
}

/// A single point or a flat line still gets some room around it, and the highest and lowest
/// points (and their rings) stay clear of the frame.
void FitWithRoom(QCPAxis* axis) {
    if (axis->range().size() == 0) {
        axis->setRange(axis->range().lower - 1, axis->range().upper + 1);
    }
    axis->scaleRange(axis->orientation() == Qt::Vertical ? 1.1 : 1.04);
}

}  // namespace

TrendsPlot::TrendsPlot(QWidget* parent) : QCustomPlot(parent) {
    setObjectName(QStringLiteral("trendPlot"));
    setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    setPlottingHints(QCP::phFastPolylines | QCP::phCacheLabels);
    setMouseTracking(true);
    // The legend stands in a row of its own above the plot, where it hides no point.
    legend->setVisible(true);
    legend->setFont(font());
    legend->setBorderPen(Qt::NoPen);
    legend->setFillOrder(QCPLegend::foColumnsFirst);
    legend->setWrap(3);
    axisRect()->insetLayout()->take(legend);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactor(0, 0.001);
    yAxis2->setVisible(false);

    m_notice = new QCPItemText(this);
    m_notice->setObjectName(QStringLiteral("plotNotice"));
    m_notice->position->setType(QCPItemPosition::ptAxisRectRatio);
    m_notice->position->setCoords(0.5, 0.5);
    m_notice->setPositionAlignment(Qt::AlignCenter);
    QFont noticeFont = font();
    noticeFont.setPointSizeF(noticeFont.pointSizeF() * 1.4);
    m_notice->setFont(noticeFont);
    m_notice->setClipToAxisRect(false);

    m_marker = new QCPItemStraightLine(this);
    m_marker->setObjectName(QStringLiteral("frameMarker"));
    m_marker->setPen(QPen(QColor(200, 0, 0), 1, Qt::DashLine));
    m_marker->setVisible(false);
}

void TrendsPlot::ClearChannels() {
    clearGraphs();
    m_shown.clear();
    for (QCPAxis* axis : axisRect()->axes(QCPAxis::atLeft | QCPAxis::atRight)) {
        if (axis != yAxis && axis != yAxis2) {
            axisRect()->removeAxis(axis);
        }
    }
    yAxis2->setVisible(false);
    m_unitAxes.clear();
}

QCPAxis* TrendsPlot::AxisForUnit(const QString& unit, int& leftCount, int& rightCount) {
    for (QCPAxis* axis : m_unitAxes) {
        if (axis->label() == unit) {
            return axis;
        }
    }
    // Units take turns: the first on the left, the second on the right, and so on outwards.
    QCPAxis* axis = nullptr;
    if (m_unitAxes.size() % 2 == 0) {
        axis = leftCount == 0 ? yAxis : axisRect()->addAxis(QCPAxis::atLeft);
        ++leftCount;
    } else {
        axis = rightCount == 0 ? yAxis2 : axisRect()->addAxis(QCPAxis::atRight);
        ++rightCount;
    }
    axis->setVisible(true);
    axis->setLabel(unit);
    axis->setTickLabels(true);
    m_unitAxes.push_back(axis);
    return axis;
}

void TrendsPlot::SetXAxisLook(TrendAxis axis) {
    if (axis == TrendAxis::DateTime) {
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeSpec(Qt::UTC);
        ticker->setDateTimeFormat(QStringLiteral("yyyy-MM-dd\nhh:mm:ss"));
        xAxis->setTicker(ticker);
        xAxis->setLabel(QStringLiteral("UTC date and time"));
        return;
    }
    // Frames and orbits are counted: ticks only at whole numbers.
    auto ticker = QSharedPointer<QCPAxisTickerFixed>::create();
    ticker->setTickStep(1);
    ticker->setScaleStrategy(QCPAxisTickerFixed::ssMultiples);
    xAxis->setTicker(ticker);
    xAxis->setNumberFormat(QStringLiteral("f"));
    xAxis->setNumberPrecision(0);
    xAxis->setLabel(axis == TrendAxis::Frame ? QStringLiteral("Frame") : QStringLiteral("Orbit"));
}

void TrendsPlot::Show(const TrendData& data, const std::vector<int>& channels, TrendAxis axis,
                      bool hideDoubtful, bool keepRanges) {
    // A view that showed everything shows everything again, with what was added or removed.
    const bool keepZoom = keepRanges && !ShowsEverything();
    const QCPRange oldX = xAxis->range();
    std::map<QString, QCPRange> oldY;
    for (QCPAxis* unitAxis : m_unitAxes) {
        oldY[unitAxis->label()] = unitAxis->range();
    }
    ClearChannels();
    m_data = &data;
    m_axis = axis;
    SetXAxisLook(axis);

    int leftCount = 0;
    int rightCount = 0;
    for (const int channel : channels) {
        ShownChannel shown;
        shown.channel = channel;
        TrendSeries series = data.Series(channel, axis, hideDoubtful);
        const QString unit = TrendChannelUnit(channel);
        shown.axis = AxisForUnit(unit, leftCount, rightCount);
        const QColor colour = ShownColour(m_shown.size());

        shown.line = addGraph(xAxis, shown.axis);
        shown.line->setName(
            QStringLiteral("%1 %2 (%3)")
                .arg(TrendChannelName(channel), TrendChannelCaption(channel), unit));
        shown.line->setPen(QPen(colour, 1.5));
        const bool few = series.keys.size() <= kMostPointsWithDiscs;
        if (few) {
            shown.line->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, colour, 5));
        } else {
            // Many points: thin lines without antialiasing draw many times faster (wide or
            // smoothed pens go through Qt's path stroker point by point).
            shown.line->setPen(QPen(colour, 1));
            shown.line->setAntialiased(false);
        }
        // Handed over whole and sorted, so that QCustomPlot neither sorts nor copies point by
        // point; doubtful frames again, as hollow rings over the line (none while hidden).
        // A break is a point of no value halfway, which QCustomPlot draws no line through.
        QVector<QCPGraphData> points;
        points.reserve(static_cast<qsizetype>(series.keys.size() + series.breaks.size()));
        shown.frames.reserve(series.keys.size() + series.breaks.size());
        QVector<QCPGraphData> doubtful;
        auto nextBreak = series.breaks.begin();
        for (std::size_t i = 0; i < series.keys.size(); ++i) {
            if (nextBreak != series.breaks.end() && *nextBreak == i) {
                ++nextBreak;
                points.push_back(QCPGraphData((series.keys[i - 1] + series.keys[i]) / 2, kNoValue));
                shown.frames.push_back(-1);
            }
            points.push_back(QCPGraphData(series.keys[i], series.values[i]));
            shown.frames.push_back(series.frames[i]);
            const TrendFrame& frame = *data.Frames()[static_cast<std::size_t>(series.frames[i])];
            if (frame.calibration == Calibration::Doubtful && !std::isnan(series.values[i])) {
                doubtful.push_back(QCPGraphData(series.keys[i], series.values[i]));
            }
        }
        shown.line->data()->set(points, true);
        shown.doubtful = addGraph(xAxis, shown.axis);
        shown.doubtful->setName(QStringLiteral("%1 doubtful").arg(TrendChannelName(channel)));
        shown.doubtful->setLineStyle(QCPGraph::lsNone);
        shown.doubtful->setScatterStyle(QCPScatterStyle(RingPixmap(colour)));
        shown.doubtful->data()->set(doubtful, true);
        shown.doubtful->removeFromLegend();
        m_shown.push_back(std::move(shown));
    }
    legend->setVisible(!m_shown.empty());

    if (data.Logs().empty()) {
        m_notice->setText(QStringLiteral("No logs. Add logs to plot their frames."));
    } else if (data.Frames().empty()) {
        m_notice->setText(QStringLiteral("No frames in this log."));
    } else if (axis == TrendAxis::DateTime &&
               data.FramesWithoutTime() == static_cast<int>(data.Frames().size())) {
        m_notice->setText(QStringLiteral("No frame has a date and time that can be read."));
    } else if (m_shown.empty()) {
        m_notice->setText(QStringLiteral("Choose channels to plot."));
    } else {
        m_notice->setText(QString());
    }
    m_notice->setVisible(!m_notice->text().isEmpty());
    setAccessibleName(m_shown.empty() ? QStringLiteral("Plot without channels")
                                      : QStringLiteral("Plot of %1 against %2")
                                            .arg(ChannelListText(channels), AxisWords(axis)));
    setAccessibleDescription(m_notice->text());

    if (keepZoom) {
        xAxis->setRange(oldX);
        for (QCPAxis* unitAxis : m_unitAxes) {
            const auto old = oldY.find(unitAxis->label());
            if (old != oldY.end()) {
                unitAxis->setRange(old->second);
            } else {
                unitAxis->rescale();
                FitWithRoom(unitAxis);
            }
        }
    } else {
        ShowEverything();
    }
    QList<QCPAxis*> yAxes(m_unitAxes.begin(), m_unitAxes.end());
    if (yAxes.isEmpty()) {
        yAxes.append(yAxis);
    }
    axisRect()->setRangeDragAxes({xAxis}, yAxes);
    axisRect()->setRangeZoomAxes({xAxis}, yAxes);
    replot();
}

void TrendsPlot::ShowEverything() {
    if (m_data == nullptr) {
        return;
    }
    xAxis->rescale();
    if (m_shown.empty()) {
        // No channel: the x axis still spans the frames, so the marker has its place.
        const TrendSeries any = m_data->Series(kCalibrationChannel, m_axis, false);
        if (!any.keys.empty()) {
            xAxis->setRange(any.keys.front(), any.keys.back());
        }
    }
    for (QCPAxis* unitAxis : m_unitAxes) {
        unitAxis->rescale();
    }
    for (QCPAxis* axis : axisRect()->axes()) {
        FitWithRoom(axis);
    }
    m_everything = Ranges();
    replot();
}

std::map<QString, QCPRange> TrendsPlot::Ranges() const {
    std::map<QString, QCPRange> ranges = {{QString(), xAxis->range()}};
    for (QCPAxis* unitAxis : m_unitAxes) {
        ranges[unitAxis->label()] = unitAxis->range();
    }
    return ranges;
}

bool TrendsPlot::ShowsEverything() const {
    return m_everything == Ranges();
}

void TrendsPlot::SetMarker(std::optional<double> key) {
    m_marker->setVisible(key.has_value());
    if (key) {
        m_marker->point1->setAxes(xAxis, yAxis);
        m_marker->point2->setAxes(xAxis, yAxis);
        m_marker->point1->setCoords(*key, 0);
        m_marker->point2->setCoords(*key, 1);
    }
    replot(QCustomPlot::rpQueuedReplot);
}

QCPGraph* TrendsPlot::LineOf(int channel) const {
    for (const ShownChannel& shown : m_shown) {
        if (shown.channel == channel) {
            return shown.line;
        }
    }
    return nullptr;
}

QCPGraph* TrendsPlot::DoubtfulPointsOf(int channel) const {
    for (const ShownChannel& shown : m_shown) {
        if (shown.channel == channel) {
            return shown.doubtful;
        }
    }
    return nullptr;
}

QCPAxis* TrendsPlot::AxisOf(int channel) const {
    for (const ShownChannel& shown : m_shown) {
        if (shown.channel == channel) {
            return shown.axis;
        }
    }
    return nullptr;
}

std::optional<double> TrendsPlot::MarkerKey() const {
    if (!m_marker->visible()) {
        return std::nullopt;
    }
    return m_marker->point1->key();
}

QString TrendsPlot::Notice() const {
    return m_notice->visible() ? m_notice->text() : QString();
}

QString TrendsPlot::HoverText(const QPointF& pixel) const {
    if (m_data == nullptr) {
        return {};
    }
    const double mouseKey = xAxis->pixelToCoord(pixel.x());
    const ShownChannel* best = nullptr;
    std::size_t bestPoint = 0;
    double bestDistance = kHoverReach;
    for (const ShownChannel& shown : m_shown) {
        const QCPGraphDataContainer& points = *shown.line->data();
        const std::ptrdiff_t at = points.findBegin(mouseKey, false) - points.constBegin();
        const std::ptrdiff_t from = std::max<std::ptrdiff_t>(0, at - kHoverScan);
        const std::ptrdiff_t to = std::min<std::ptrdiff_t>(points.size(), at + kHoverScan);
        for (std::ptrdiff_t i = from; i < to; ++i) {
            const QCPGraphData& point = *points.at(static_cast<int>(i));
            if (std::isnan(point.value)) {
                continue;
            }
            const double dx = xAxis->coordToPixel(point.key) - pixel.x();
            const double dy = shown.axis->coordToPixel(point.value) - pixel.y();
            const double distance = std::hypot(dx, dy);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = &shown;
                bestPoint = static_cast<std::size_t>(i);
            }
        }
    }
    if (best == nullptr) {
        return {};
    }
    const TrendFrame& frame = *m_data->Frames()[static_cast<std::size_t>(best->frames[bestPoint])];
    const std::size_t slot = static_cast<std::size_t>(best->channel - 1);
    const QString log = LogDisplayName(m_data->Logs()[static_cast<std::size_t>(frame.log)].path);
    QString text =
        QStringLiteral("%1 %2\nFrame %3, line %4 of %5\nDate %6, time %7")
            .arg(TrendChannelName(best->channel), TrendChannelCaption(best->channel))
            .arg(frame.number)
            .arg(frame.lineNumber)
            .arg(log, FromWindows1252(frame.date).trimmed(), FromWindows1252(frame.time).trimmed());
    if (frame.hasTime) {
        text += QStringLiteral(" (%1 UTC)").arg(DateTimeText(frame.utc));
    }
    text += QStringLiteral("\nOrbit %1\nRaw %2, value %3 %4, %5")
                .arg(frame.orbit)
                .arg(frame.raw[slot])
                .arg(TrendValueText(frame.value[slot]), TrendChannelUnit(best->channel),
                     ReceptionText(frame.reception[slot]));
    if (frame.calibration == Calibration::Doubtful) {
        text += QStringLiteral("\nDoubtful calibration (6D out of range)");
    }
    return text;
}

void TrendsPlot::mouseMoveEvent(QMouseEvent* event) {
    QCustomPlot::mouseMoveEvent(event);
    if (event->buttons() != Qt::NoButton) {
        return;  // panning
    }
    const QString text = HoverText(event->position());
    if (text.isEmpty()) {
        QToolTip::hideText();
    } else {
        QToolTip::showText(event->globalPosition().toPoint(), text, this);
    }
}

void TrendsPlot::mouseDoubleClickEvent(QMouseEvent* event) {
    QCustomPlot::mouseDoubleClickEvent(event);
    ShowEverything();
}

}  // namespace ao07::ui
