#include "ui/main_window/open_file_dialog.h"

#include <gtest/gtest.h>

#include "ui/scripted_dialogs.h"

namespace ao07::ui {
namespace {

TEST(OpenFileDialog, ShowsTheLogFilterAsTwoEntries) {
    test::ScriptedChooser chooser;
    OpenFileDialog dialog(chooser);
    dialog.SetFilter(QStringLiteral("Text Files (*.txt)|*.txt|All files *.*|*.*"));
    dialog.ShowOpen(nullptr);
    EXPECT_EQ(chooser.lastFilters, QStringList({QStringLiteral("Text Files (*.txt)"),
                                                QStringLiteral("All files *.* (*)")}));
}

TEST(OpenFileDialog, TakesSeveralPatternsOfOneEntry) {
    test::ScriptedChooser chooser;
    OpenFileDialog dialog(chooser);
    dialog.SetFilter(QStringLiteral("Logs|*.txt;*.log"));
    dialog.ShowOpen(nullptr);
    EXPECT_EQ(chooser.lastFilters, QStringList({QStringLiteral("Logs (*.txt *.log)")}));
}

TEST(OpenFileDialog, RemembersTheLastChoiceAndReportsItWhenCancelled) {
    test::ScriptedChooser chooser;
    OpenFileDialog dialog(chooser);

    dialog.ShowOpen(nullptr);  // cancelled before any choice
    EXPECT_TRUE(dialog.FileName().isEmpty());
    EXPECT_TRUE(chooser.lastStartName.isEmpty());

    chooser.answers.push_back(QStringLiteral("/logs/pass-1.txt"));
    dialog.ShowOpen(nullptr);
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/logs/pass-1.txt"));

    dialog.ShowOpen(nullptr);  // cancelled: the earlier name stands, and was offered
    EXPECT_EQ(chooser.lastStartName, QStringLiteral("/logs/pass-1.txt"));
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/logs/pass-1.txt"));

    chooser.answers.push_back(QStringLiteral("/logs/pass-2.txt"));
    dialog.ShowOpen(nullptr);
    EXPECT_EQ(dialog.FileName(), QStringLiteral("/logs/pass-2.txt"));
    EXPECT_EQ(chooser.questions, 4);
}

}  // namespace
}  // namespace ao07::ui
