#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>
#include <string_view>

#include "support/temp_dir.h"
#include "ui/main_window/main_window.h"
#include "ui/scripted_dialogs.h"

namespace ao07::test {

/// A shown frmMain with scripted dialogs, working in a fresh temporary folder (where
/// "ao-07.csv" goes).
class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Each test starts as on a first run: no log folder remembered from an earlier test.
        QSettings().clear();
        m_previousDir = QDir::currentPath();
        ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.Path())));
        auto chooser = std::make_unique<ScriptedChooser>();
        auto boxes = std::make_unique<ScriptedBoxes>();
        this->chooser = chooser.get();
        this->boxes = boxes.get();
        window = std::make_unique<ui::MainWindow>(std::move(chooser), std::move(boxes));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override {
        window->close();
        window.reset();
        QDir::setCurrent(m_previousDir);
    }

    template <typename T>
    T* Find(const QString& name) const {
        T* found = window->findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    QPushButton* Button(const char* name) const { return Find<QPushButton>(QLatin1String(name)); }
    QLabel* Label(const QString& name) const { return Find<QLabel>(name); }
    QCheckBox* CsvSwitch() const { return Find<QCheckBox>(QStringLiteral("chkEnableCSVFile")); }
    QString RawLine() const { return Find<QLineEdit>(QStringLiteral("txtRawData"))->text(); }
    QString OutputData() const {
        return Find<QPlainTextEdit>(QStringLiteral("txtOutputData"))->toPlainText();
    }
    QTimer* Timer1() const { return window->findChild<QTimer*>(QStringLiteral("Timer1")); }

    void Click(const char* buttonName) { QTest::mouseClick(Button(buttonName), Qt::LeftButton); }
    void ClickCsvSwitch() {
        QCheckBox* box = CsvSwitch();
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    }
    /// File > Open with the scripted dialog answering `answer`, or cancelling when "".
    void OpenThroughMenu(const std::string& answer) {
        if (!answer.empty()) {
            chooser->answers.push_back(QString::fromStdString(answer));
        }
        Find<QAction>(QStringLiteral("mnuFileOpen"))->trigger();
    }
    /// Writes a log of the given lines, each ended by CR LF, into the test's folder.
    std::string WriteLog(std::string_view name, std::initializer_list<std::string_view> lines) {
        std::string bytes;
        for (const std::string_view line : lines) {
            bytes.append(line).append("\r\n");
        }
        return dir.Write(name, bytes);
    }

    TempDir dir;
    ScriptedChooser* chooser = nullptr;
    ScriptedBoxes* boxes = nullptr;
    std::unique_ptr<ui::MainWindow> window;

private:
    QString m_previousDir;
};

}  // namespace ao07::test
