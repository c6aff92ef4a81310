#pragma once

#include <QSize>
#include <QStringList>
#include <QWidget>

#include <optional>
#include <set>
#include <vector>

#include "analysis/trend_data.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QTableWidget;
class QTimer;

namespace ao07::ui {

class TrendsChannelList;
class TrendsLogWatch;
class TrendsPlot;

/// The Trends window: chosen channels of one or more logs plotted across their frames, with
/// statistics of the shown range, export, and a mark at the main window's frame. Its data are
/// the library's frames (LoadTrendLog); it decodes a log again when the log changes on disk.
class TrendsWindow final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendsWindow)

public:
    /// The window for the given logs (none is allowed), with no channel shown yet.
    explicit TrendsWindow(const QStringList& logs, QWidget* parent = nullptr);
    ~TrendsWindow() override;

    /// Decodes and adds the logs.
    void AddLogs(const QStringList& paths);
    /// Shows channel 1..24 (ticks its box).
    void ShowChannel(int channel);
    /// Shows all 24 channels.
    void ShowAllChannels();
    /// Whether the window shows exactly the one log at `path`.
    bool BelongsTo(const QString& path) const;
    /// The main window is at frame `frameNumber` of the log at `path`: marked when shown here.
    void SetMainWindowFrame(const QString& path, int frameNumber);

    /// Exports the plot at `size` pixels (PNG, SVG or PDF after the name). "" or a message.
    QString ExportPlot(const QString& path, QSize size);
    /// Exports the plotted points of the shown range as CSV. "" or a message.
    QString ExportPointsCsv(const QString& path);
    /// Exports the statistics of the shown range as CSV. "" or a message.
    QString ExportStatisticsCsv(const QString& path);

    const TrendData& Data() const { return m_data; }
    TrendsPlot* Plot() const { return m_plot; }
    /// The log indexes whose file has gone from the disk.
    const std::set<std::size_t>& GoneLogs() const { return m_gone; }

protected:
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    /// Lays `content` out in the window, sized to the screen's available area at most, in a
    /// scroll area when even its least size does not fit there.
    void FitToScreen(QWidget* content);
    void Redraw(bool keepRanges);
    void UpdateStatistics();
    void UpdateTexts();
    void UpdateMarker();
    TrendAxis Axis() const;
    void ChooseLogsToAdd();
    void ChooseExport();
    void Watch(std::size_t index);
    void ReloadChangedLogs();
    void ShowMessage(const QString& text);

    TrendData m_data;
    std::set<std::size_t> m_gone;
    std::optional<std::pair<QString, int>> m_mainFrame;

    TrendsPlot* m_plot = nullptr;
    TrendsChannelList* m_channels = nullptr;
    QComboBox* m_axisChoice = nullptr;
    QCheckBox* m_hideDoubtful = nullptr;
    QLabel* m_timeNote = nullptr;
    QLabel* m_logList = nullptr;
    QTableWidget* m_statistics = nullptr;
    TrendsLogWatch* m_watch = nullptr;
    QTimer* m_statisticsTimer = nullptr;
    bool m_placed = false;  ///< placed on the screen when first shown
};

}  // namespace ao07::ui
