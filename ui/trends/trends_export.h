#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <vector>

#include "analysis/trend_data.h"

class QCustomPlot;

namespace ao07::ui {

/// What a CSV export covers: the shown channels over the shown x range.
struct TrendsExportRange {
    std::vector<int> channels;
    TrendAxis axis = TrendAxis::Frame;
    bool hideDoubtful = false;
    double from = 0;
    double to = 0;
};

/// The plot drawn at `size` pixels as PNG, SVG or PDF after the file name's ending; empty with
/// `error` set for any other ending or a drawing that fails.
QByteArray RenderPlotFile(QCustomPlot& plot, const QString& fileName, QSize size, QString& error);

/// The plotted points as CSV: a header naming the channels and units, one line per frame in
/// the range, "." as decimal point, an empty field where a channel has no point.
QByteArray PointsCsv(const TrendData& data, const TrendsExportRange& range);

/// The statistics of the range as CSV, one line per channel.
QByteArray StatisticsCsv(const TrendData& data, const TrendsExportRange& range);

/// Writes the bytes to `path` through a temporary file that takes the name only when complete,
/// so a failure leaves no half-written file under that name. Returns "" or a message.
QString SaveWhole(const QString& path, const QByteArray& bytes);

}  // namespace ao07::ui
