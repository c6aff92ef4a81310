// ao07-telemetry: the AO-07 telemetry display.
//
// For screenshots of the window with a decoded frame (tools/screenshot.sh) two environment
// variables open a log at start-up exactly as File > Open would, and step through it:
//   AO07_OPEN_LOG=examples/pass-1.txt AO07_STEPS=10 ao07-telemetry
// AO07_STEPS counts the steps including the one File > Open takes; Next goes on from there.

#include <QApplication>

#include <memory>

#include "ui/file_chooser.h"
#include "ui/first_frame_report.h"
#include "ui/frm_main.h"
#include "ui/trends_command_line.h"

namespace {

/// Answers the first question with the log named at start-up, later ones with the real dialog.
class StartupLogChooser final : public ao07::ui::FileChooser {
public:
    explicit StartupLogChooser(QString log) : m_log(std::move(log)) {}

    std::optional<QString> ChooseFileToOpen(QWidget* parent, const QStringList& nameFilters,
                                            const QString& startName) override {
        if (!m_log.isEmpty()) {
            return std::exchange(m_log, QString());
        }
        return m_dialog.ChooseFileToOpen(parent, nameFilters, startName);
    }

private:
    QString m_log;
    ao07::ui::QtFileChooser m_dialog;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);

    // ao07-telemetry --trends LOG... shows the Trends window of those logs and nothing else.
    if (const auto trendLogs = ao07::ui::TrendsLogsRequested(QApplication::arguments())) {
        return ao07::ui::RunTrendsAlone(*trendLogs);
    }

    const QString startupLog = qEnvironmentVariable("AO07_OPEN_LOG");
    std::unique_ptr<ao07::ui::FileChooser> chooser;
    if (!startupLog.isEmpty()) {
        chooser = std::make_unique<StartupLogChooser>(startupLog);
    }
    ao07::ui::FrmMain frmMain(std::move(chooser));
    ao07::ui::ReportFirstFrame(frmMain);
    frmMain.show();

    if (!startupLog.isEmpty()) {
        frmMain.mnuFileOpen_Click();
        const int steps = qEnvironmentVariableIntValue("AO07_STEPS");
        for (int step = 1; step < steps; ++step) {
            frmMain.butNext_Click();
        }
    }
    return QApplication::exec();
}
