#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <string_view>

#include "core/channel.h"

class QColor;
class QWidget;

namespace ao07 {
struct Frame;
enum class Reception : std::uint8_t;
}  // namespace ao07

namespace ao07::ui {

struct MainWindowControls;

/// Why a channel's pair is greyed when its group was not copied (`group` as the log has it,
/// `raw` the raw value shown for it).
QString NotCopiedReason(const QString& group, const QString& raw);

/// Why a channel's pair is greyed when its row was missing from the frame just completed.
QString MissingReason();

/// Why the calibration channel's value is coloured when the frame is doubtful (`raw` its raw
/// value).
QString DoubtfulCalibrationReason(int raw);

/// Why a text is greyed after another log was opened: it still shows a value of the log
/// `previous` (its file name).
QString PreviousLogReason(const QString& previous);

/// The colour of a doubtful calibration value: a red that reads on the given background, dark
/// on a light theme and light on a dark one.
QColor WarningColour(const QColor& background);

/// Marks the main window's channel label pairs whose values cannot be trusted, and never
/// changes their texts: a pair whose group was not copied, or whose row was missing from the
/// last frame, takes the disabled-text colour; the calibration value of a doubtful frame takes
/// the warning colour. After another log is opened, every text that still shows the previous
/// log's values (orbit, date, time, the 24 pairs, Output Data) is greyed until the new log
/// replaces it. The tooltip and the accessible description of a marked label say why in the
/// same words, so colour is never the only sign.
class ChannelMarks {
public:
    /// Marks the labels of `controls`, all unmarked to begin with.
    explicit ChannelMarks(const MainWindowControls& controls);

    /// Channel 1..24's group was read: its pair is marked while it was not copied.
    void ChannelReceived(int channel, Reception reception, std::string_view group);

    /// A frame ended: the pairs of each row it lacked are marked until that row is read again,
    /// and its calibration value is coloured while the frame is doubtful.
    void FrameCompleted(const Frame& frame);

    /// Another log was opened after the log `previous` (its file name): every text is marked
    /// as that log's until the new log replaces it.
    void LogOpened(const QString& previous);
    /// The orbit, date, time or Output Data box `shown` shows a text of the open log.
    void TextShown(const QWidget* shown);

private:
    /// A label or text box, and while it is marked the tooltip and description it had before.
    struct MarkedLabel {
        QWidget* label = nullptr;
        bool marked = false;
        QString reason;  ///< why it is marked
        QString toolTip;
        QString description;
    };

    /// Shows the label in `colour` with `reason`, or as it was before when `reason` is empty.
    static void Show(MarkedLabel& marked, const QColor& colour, const QString& reason);
    void MarkPair(int channel, const QString& reason);

    std::array<MarkedLabel, kChannelCount> m_raw;    ///< by channel - 1
    std::array<MarkedLabel, kChannelCount> m_value;  ///< by channel - 1
    std::array<MarkedLabel, 4> m_texts;              ///< orbit, date, time, Output Data
    QString m_previousLog;  ///< the reason of texts from the log before the open one, or ""
};

}  // namespace ao07::ui
