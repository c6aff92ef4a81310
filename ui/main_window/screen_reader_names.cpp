#include "ui/main_window/screen_reader_names.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "decoder/channel_table.h"
#include "ui/main_window/main_window_controls.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

// Marks a label as a value box; its value is the property's text, the unit, after the label's.
constexpr const char* kUnitProperty = "ao07ValueUnit";

/// A value box as a screen reader sees it: its name says what it shows, its value is the text
/// with the unit. Qt's own label interface would read the name and drop the text.
class ValueBoxAccessible final : public QAccessibleWidget {
public:
    explicit ValueBoxAccessible(QLabel* label)
        : QAccessibleWidget(label, QAccessible::StaticText) {}

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name:
                return widget()->accessibleName();
            case QAccessible::Value:
                return ValueText();
            case QAccessible::Description:
                return DescriptionText();
            default:
                return QAccessibleWidget::text(t);
        }
    }

private:
    /// The value, then why it is marked. Over AT-SPI a label carries only its name and its
    /// description, so the description must hold the value too; the reason follows it, as the
    /// tooltip shows it after the value has been seen.
    QString DescriptionText() const {
        const QString value = ValueText();
        // The marks set the widget's own description to the reason, and clear it with the mark.
        const QString reason = widget()->accessibleDescription();
        if (reason.isEmpty() || value.isEmpty()) {
            return reason.isEmpty() ? value : reason;
        }
        return value + QStringLiteral(". ") + reason;
    }

    QString ValueText() const {
        const QString text = static_cast<const QLabel*>(widget())->text();
        const QString unit = widget()->property(kUnitProperty).toString();
        return text.isEmpty() || unit.isEmpty() ? text : text + u' ' + unit;
    }
};

QAccessibleInterface* ValueBoxFactory(const QString& className, QObject* object) {
    if (className == QLatin1String("QLabel") && object->property(kUnitProperty).isValid()) {
        return new ValueBoxAccessible(static_cast<QLabel*>(object));
    }
    return nullptr;
}

void NameValueBox(QLabel* box, const QString& name, const QString& unit = {}) {
    box->setAccessibleName(name);
    box->setProperty(kUnitProperty, unit);
    // Qt made the box a plain label's interface when its first text was set; dropped, the next
    // question for it goes to ValueBoxFactory.
    if (QAccessibleInterface* made = QAccessible::queryAccessibleInterface(box)) {
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(made));
    }
}

}  // namespace

void NameControlsForScreenReaders(const MainWindowControls& controls) {
    static const bool installed = [] {
        QAccessible::installFactory(ValueBoxFactory);
        return true;
    }();
    (void)installed;

    NameValueBox(controls.lblOrbit, QStringLiteral("Orbit"));
    NameValueBox(controls.lblDate, QStringLiteral("Date"));
    NameValueBox(controls.lblTime, QStringLiteral("Time"));
    for (const ChannelInfo& channel : ChannelTable()) {
        const auto element = static_cast<std::size_t>(channel.index - 1);
        NameValueBox(controls.channelValue.at(element), FromWindows1252(CaptionName(channel)),
                     FromWindows1252(channel.unit).trimmed());
        NameValueBox(
            controls.rawValue.at(element),
            QStringLiteral("Raw value %1").arg(QString::fromStdString(ChannelName(channel.index))));
    }
    // Heard as one line, not broken as it is drawn.
    controls.chkEnableCSVFile->setAccessibleName(
        controls.chkEnableCSVFile->text().replace(u'\n', u' '));
    controls.txtRawData->setAccessibleName(QStringLiteral("Input Data"));
    controls.txtOutputData->setAccessibleName(QStringLiteral("Output Data"));
}

}  // namespace ao07::ui
