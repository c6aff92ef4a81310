#include "ui/trends/trends_export.h"

#include <qcustomplot.h>
#include <QBuffer>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPixmap>
#include <QSaveFile>
#include <QSvgGenerator>

#include <cmath>

#include "analysis/frame_checks.h"
#include "ui/trends/trends_text.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

/// A CSV field, quoted when it holds a comma, a quote or a line end.
QString Field(const QString& text) {
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') &&
        !text.contains(u'\r')) {
        return text;
    }
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

QString NumberField(double value) {
    return std::isnan(value) ? QString() : TrendValueText(value);
}

void AppendLine(QByteArray& bytes, const QStringList& fields) {
    bytes += fields.join(u',').toUtf8();
    bytes += "\r\n";
}

bool Hidden(const TrendFrame& frame, const TrendsExportRange& range) {
    return range.hideDoubtful && frame.calibration == Calibration::Doubtful;
}

}  // namespace

QByteArray RenderPlotFile(QCustomPlot& plot, const QString& fileName, QSize size, QString& error) {
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (size.width() < 1 || size.height() < 1) {
        error = QStringLiteral("The image size %1 x %2 is not possible.")
                    .arg(size.width())
                    .arg(size.height());
        return {};
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (suffix == u"png") {
        if (!plot.toPixmap(size.width(), size.height()).save(&buffer, "PNG")) {
            error = QStringLiteral("The plot could not be drawn as PNG.");
            return {};
        }
    } else if (suffix == u"svg") {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(plot.window()->windowTitle());
        QCPPainter painter(&svg);
        plot.toPainter(&painter, size.width(), size.height());
    } else if (suffix == u"pdf") {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(72);  // one point a pixel: the page is the chosen size
        pdf.setPageSize(QPageSize(QSizeF(size), QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(plot.window()->windowTitle());
        QCPPainter painter(&pdf);
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
        plot.toPainter(&painter, size.width(), size.height());
    } else {
        error = QStringLiteral("\"%1\" does not end in .png, .svg or .pdf.")
                    .arg(QFileInfo(fileName).fileName());
        return {};
    }
    buffer.close();
    return bytes;
}

QByteArray PointsCsv(const TrendData& data, const TrendsExportRange& range) {
    QByteArray bytes;
    QStringList header = {QStringLiteral("log"),   QStringLiteral("frame"),
                          QStringLiteral("line"),  QStringLiteral("date"),
                          QStringLiteral("time"),  QStringLiteral("utc"),
                          QStringLiteral("orbit"), QStringLiteral("calibration")};
    for (const int channel : range.channels) {
        header << Field(QStringLiteral("%1 %2 (%3)")
                            .arg(TrendChannelName(channel), TrendChannelCaption(channel),
                                 TrendChannelUnit(channel)));
    }
    AppendLine(bytes, header);
    if (range.channels.empty()) {
        return bytes;
    }
    // Every channel's series has the same frames in the same order: the axis' order.
    std::vector<TrendSeries> series;
    for (const int channel : range.channels) {
        series.push_back(data.Series(channel, range.axis, range.hideDoubtful));
    }
    const TrendSeries& first = series.front();
    for (std::size_t i = 0; i < first.keys.size(); ++i) {
        const TrendFrame& frame = *data.Frames()[static_cast<std::size_t>(first.frames[i])];
        if (first.keys[i] < range.from || first.keys[i] > range.to || Hidden(frame, range)) {
            continue;
        }
        QStringList fields = {
            Field(LogDisplayName(data.Logs()[static_cast<std::size_t>(frame.log)].path)),
            QString::number(frame.number),
            QString::number(frame.lineNumber),
            Field(FromWindows1252(frame.date).trimmed()),
            Field(FromWindows1252(frame.time).trimmed()),
            frame.hasTime ? QDateTime::fromSecsSinceEpoch(frame.utc, Qt::UTC).toString(Qt::ISODate)
                          : QString(),
            QString::number(frame.orbit),
            QString::fromLatin1(CalibrationName(frame.calibration)),
        };
        for (const TrendSeries& one : series) {
            fields << NumberField(one.values[i]);
        }
        AppendLine(bytes, fields);
    }
    return bytes;
}

QByteArray StatisticsCsv(const TrendData& data, const TrendsExportRange& range) {
    QByteArray bytes;
    AppendLine(bytes,
               {QStringLiteral("channel"), QStringLiteral("caption"), QStringLiteral("unit"),
                QStringLiteral("frames"), QStringLiteral("copied"), QStringLiteral("not copied"),
                QStringLiteral("missing"), QStringLiteral("minimum"), QStringLiteral("maximum"),
                QStringLiteral("mean"), QStringLiteral("last")});
    for (const int channel : range.channels) {
        const TrendStatistics figures =
            data.Statistics(channel, range.axis, range.hideDoubtful, range.from, range.to);
        AppendLine(bytes, {TrendChannelName(channel), Field(TrendChannelCaption(channel)),
                           TrendChannelUnit(channel), QString::number(figures.frames),
                           QString::number(figures.copied), QString::number(figures.notCopied),
                           QString::number(figures.missing), NumberField(figures.minimum),
                           NumberField(figures.maximum), NumberField(figures.mean),
                           NumberField(figures.last)});
    }
    return bytes;
}

QString SaveWhole(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    const auto failed = [&] {
        const QString reason = file.errorString();
        file.cancelWriting();
        return QStringLiteral("\"%1\" could not be written: %2.")
            .arg(QDir::toNativeSeparators(path), reason);
    };
    if (!file.open(QIODevice::WriteOnly)) {
        return failed();
    }
    if (file.write(bytes) != bytes.size()) {
        return failed();
    }
    if (!file.commit()) {
        return QStringLiteral("\"%1\" could not be written: %2.")
            .arg(QDir::toNativeSeparators(path), file.errorString());
    }
    return {};
}

}  // namespace ao07::ui
