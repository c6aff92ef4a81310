// ao07_window_driver LOG: the real main window in a process of its own, for the test that kills
// it. It switches CSV output on ("ao-07.csv" in the current folder), opens LOG with File > Open
// (told to take a named pipe too) and then clicks Next as fast as the event loop allows; every
// message box is written to standard error instead of being shown. A log that is a named pipe makes
// each step wait for the next line, so the test that feeds the pipe decides how far the window
// gets.

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>
#include <memory>
#include <optional>

#include "ui/file_chooser.h"
#include "ui/main_window/main_window.h"
#include "ui/message_boxes.h"

namespace {

class OneAnswerChooser final : public ao07::ui::FileChooser {
public:
    explicit OneAnswerChooser(QString answer) : m_answer(std::move(answer)) {}
    std::optional<QString> ChooseFileToOpen(QWidget*, const QStringList&, const QString&) override {
        return m_answer;
    }

private:
    QString m_answer;
};

class PrintedBoxes final : public ao07::ui::MessageBoxes {
public:
    void ShowMessage(QWidget*, const QString& text) override { Print("message", text); }
    void ShowError(QWidget*, const QString& text) override { Print("error", text); }

private:
    static void Print(const char* kind, const QString& text) {
        std::fprintf(stderr, "%s: %s\n", kind, text.toLocal8Bit().constData());
    }
};

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    // The folder of the log it opens goes to a test location, not the user's settings.
    QStandardPaths::setTestModeEnabled(true);
    if (argc != 2) {
        std::fprintf(stderr, "usage: ao07_window_driver LOG\n");
        return 2;
    }
    ao07::ui::MainWindow window(std::make_unique<OneAnswerChooser>(QString::fromLocal8Bit(argv[1])),
                                std::make_unique<PrintedBoxes>(), ao07::LogFiles::AnyReadable);
    window.show();
    window.Controls().chkEnableCSVFile->click();
    window.onOpenTriggered();
    if (window.ShownLog().isEmpty()) {
        return 1;  // the reason is on standard error already
    }

    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        if (!window.Controls().butNext->isEnabled()) {
            QApplication::quit();
            return;
        }
        window.Controls().butNext->click();
    });
    clicker.start(0);
    return QApplication::exec();
}
