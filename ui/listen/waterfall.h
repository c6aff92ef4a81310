#pragma once

#include <QWidget>

#include <span>
#include <vector>

class QCustomPlot;
class QCPColorMap;
class QCPItemStraightLine;

namespace ao07::ui {

/// A scrolling waterfall of the band: the newest row of power at the top, frequency across. The
/// tracked tone is marked by a line; a click on the waterfall asks to tune to the tone under it.
class Waterfall final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(Waterfall)

public:
    /// Shows the band from `lowHz` to `highHz`.
    Waterfall(double lowHz, double highHz, QWidget* parent = nullptr);

    /// Scrolls in the next row of power, in dB of full scale, one value per bin from
    /// `firstBinHz` on, `binHz` apart.
    void AddRow(std::span<const float> powerDb, double firstBinHz, double binHz);

    /// Marks the tracked tone; 0 hides the mark.
    void MarkTone(double toneHz);

    /// The frequency under x position `x` of the waterfall's own coordinates.
    double FrequencyAt(int x) const;

    /// The x position of the waterfall's own coordinates where `toneHz` is drawn.
    int PositionOf(double toneHz) const;

    /// How many rows are kept and shown.
    static constexpr int kRows = 200;

signals:
    /// The user clicked on the waterfall at this tone.
    void toneChosen(double toneHz);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCustomPlot* m_plot = nullptr;
    QCPColorMap* m_map = nullptr;
    QCPItemStraightLine* m_toneMark = nullptr;
    double m_firstBinHz = 0;
    double m_binHz = 0;
    int m_binCount = 0;
    double m_floorDb = -1000;     ///< the noise floor the colours follow
    std::vector<float> m_sorted;  ///< a row's values, for its median
};

}  // namespace ao07::ui
