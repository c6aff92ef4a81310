#pragma once

#include <qcustomplot.h>

#include <map>
#include <optional>
#include <vector>

#include "analysis/trend_data.h"

namespace ao07::ui {

/// The plot of the Trends window: the chosen channels of a TrendData against one x axis, one y
/// axis per unit (left, right, left, ...), gaps where a channel was not copied, hollow points
/// for frames of doubtful calibration, a line at the main window's frame, and the nearest point
/// on hover. Wheel zooms, drag pans, a double-click shows everything again.
class TrendsPlot final : public QCustomPlot {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendsPlot)

public:
    explicit TrendsPlot(QWidget* parent = nullptr);

    /// Draws the channels (1..24) of `data`; `keepRanges` keeps the zoom of the axes that stay
    /// when the user has zoomed or panned since everything was last shown (otherwise every axis
    /// fits what it shows). `data` must outlive the plot's use of it (until the next Show).
    void Show(const TrendData& data, const std::vector<int>& channels, TrendAxis axis,
              bool hideDoubtful, bool keepRanges);
    /// Marks x = key with a vertical line, or removes the mark.
    void SetMarker(std::optional<double> key);

    /// The line graph of a shown channel (its data holds NaN at gaps), or nullptr.
    QCPGraph* LineOf(int channel) const;
    /// The hollow points of a shown channel's doubtful frames, or nullptr.
    QCPGraph* DoubtfulPointsOf(int channel) const;
    /// The y axis a shown channel is drawn against, or nullptr.
    QCPAxis* AxisOf(int channel) const;
    /// Where the main window's frame is marked, or nullopt.
    std::optional<double> MarkerKey() const;
    /// What the plot area says instead of a plot ("" while it plots).
    QString Notice() const;
    /// The text shown on hover at a pixel of the plot ("" when no point is near).
    QString HoverText(const QPointF& pixel) const;
    /// Shows all the data again.
    void ShowEverything();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    struct ShownChannel {
        int channel = 0;
        /// The place in Frames() of each point of `line`, in the same order.
        std::vector<std::int32_t> frames;
        QCPGraph* line = nullptr;
        QCPGraph* doubtful = nullptr;
        QCPAxis* axis = nullptr;
    };

    void ClearChannels();
    /// The range of the x axis (under "") and of each unit's y axis (under its unit).
    std::map<QString, QCPRange> Ranges() const;
    /// Whether the axes are as ShowEverything left them: the user has not zoomed or panned.
    bool ShowsEverything() const;
    QCPAxis* AxisForUnit(const QString& unit, int& leftCount, int& rightCount);
    void SetXAxisLook(TrendAxis axis);

    const TrendData* m_data = nullptr;
    TrendAxis m_axis = TrendAxis::Frame;
    std::vector<ShownChannel> m_shown;
    std::vector<QCPAxis*> m_unitAxes;  ///< the y axes in use, with their unit as label
    std::map<QString, QCPRange> m_everything;  ///< Ranges() when everything was last shown
    QCPItemText* m_notice = nullptr;
    QCPItemStraightLine* m_marker = nullptr;
};

}  // namespace ao07::ui
