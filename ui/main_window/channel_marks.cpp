#include "ui/main_window/channel_marks.h"

#include <QColor>
#include <QLabel>
#include <QPalette>
#include <QPlainTextEdit>

#include <algorithm>
#include <cmath>

#include "analysis/frame_checks.h"
#include "decoder/channel_table.h"
#include "decoder/frame.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

/// Relative luminance of a colour as contrast ratios use it (sRGB, 0 for black, 1 for white).
double Luminance(const QColor& colour) {
    const auto linear = [](double c) {
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
           0.0722 * linear(colour.blueF());
}

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

/// The colours the label's surroundings give it: the group box or frame it stands in.
const QPalette& Surroundings(const QWidget* label) {
    return label->parentWidget() != nullptr ? label->parentWidget()->palette() : label->palette();
}

}  // namespace

QString NotCopiedReason(const QString& group, const QString& raw) {
    return QStringLiteral("Not copied: the log has \"%1\" in this group. Shown as raw %2.")
        .arg(group, raw);
}

QString MissingReason() {
    return QStringLiteral("Not received in this frame: the value is from an earlier frame.");
}

QString DoubtfulCalibrationReason(int raw) {
    return QStringLiteral(
               "Doubtful calibration: %1 reads raw %2, outside the good range %3 to %4. "
               "Every channel of this frame is in doubt.")
        .arg(QString::fromStdString(ChannelName(kCalibrationChannel)))
        .arg(raw)
        .arg(kCalibrationLowestGoodRaw)
        .arg(kCalibrationHighestGoodRaw);
}

QString PreviousLogReason(const QString& previous) {
    return QStringLiteral("From the previous log, %1.").arg(previous);
}

QColor WarningColour(const QColor& background) {
    // Of a dark and a light red, the one that stands out more against the background.
    const QColor dark = QColor::fromRgb(160, 0, 0);
    const QColor light = QColor::fromRgb(255, 128, 128);
    return ContrastRatio(dark, background) >= ContrastRatio(light, background) ? dark : light;
}

ChannelMarks::ChannelMarks(const MainWindowControls& controls) {
    for (std::size_t i = 0; i < m_raw.size(); ++i) {
        m_raw[i].label = controls.rawValue[i];
        m_value[i].label = controls.channelValue[i];
    }
    m_texts[0].label = controls.lblOrbit;
    m_texts[1].label = controls.lblDate;
    m_texts[2].label = controls.lblTime;
    m_texts[3].label = controls.txtOutputData;
}

void ChannelMarks::LogOpened(const QString& previous) {
    m_previousLog = PreviousLogReason(previous);
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        MarkPair(channel, m_previousLog);
    }
    for (MarkedLabel& text : m_texts) {
        Show(text, Surroundings(text.label).color(QPalette::Disabled, QPalette::WindowText),
             m_previousLog);
    }
}

void ChannelMarks::TextShown(const QWidget* shown) {
    for (MarkedLabel& text : m_texts) {
        if (text.label == shown) {
            Show(text, QColor(), QString());
        }
    }
}

void ChannelMarks::ChannelReceived(int channel, Reception reception, std::string_view group) {
    const auto i = static_cast<std::size_t>(channel - 1);
    MarkPair(channel, reception == Reception::Copied
                          ? QString()
                          : NotCopiedReason(FromWindows1252(group), static_cast<QLabel*>(m_raw.at(i).label)->text()));
}

void ChannelMarks::FrameCompleted(const Frame& frame) {
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const auto i = static_cast<std::size_t>(channel - 1);
        // A pair that still shows the previous log's value says so rather than "an earlier frame".
        const bool fromPreviousLog =
            !m_previousLog.isEmpty() && m_value.at(i).reason == m_previousLog;
        if (frame.Channel(channel).reception == Reception::Missing && !fromPreviousLog) {
            MarkPair(channel, MissingReason());
        }
    }
    // Row 6 has just been read, so the calibration value was unmarked or marked as not copied
    // a moment ago; a doubtful frame is the only reason left to colour it.
    if (CalibrationOf(frame) == Calibration::Doubtful) {
        MarkedLabel& value = m_value.at(kCalibrationChannel - 1);
        Show(value, WarningColour(Surroundings(value.label).color(QPalette::Window)),
             DoubtfulCalibrationReason(frame.Channel(kCalibrationChannel).raw));
    }
}

void ChannelMarks::MarkPair(int channel, const QString& reason) {
    const auto i = static_cast<std::size_t>(channel - 1);
    for (MarkedLabel* marked : {&m_raw.at(i), &m_value.at(i)}) {
        Show(*marked, Surroundings(marked->label).color(QPalette::Disabled, QPalette::WindowText),
             reason);
    }
}

void ChannelMarks::Show(MarkedLabel& marked, const QColor& colour, const QString& reason) {
    QWidget* label = marked.label;
    marked.reason = reason;
    if (reason.isEmpty()) {
        if (marked.marked) {
            marked.marked = false;
            // An empty palette lets the label take its surroundings' colours again.
            label->setPalette(QPalette());
            label->setToolTip(marked.toolTip);
            label->setAccessibleDescription(marked.description);
        }
        return;
    }
    if (!marked.marked) {
        marked.marked = true;
        marked.toolTip = label->toolTip();
        marked.description = label->accessibleDescription();
    }
    QPalette palette = Surroundings(label);
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);  // a text box's text
    label->setPalette(palette);
    label->setToolTip(reason);
    label->setAccessibleDescription(reason);
}

}  // namespace ao07::ui
