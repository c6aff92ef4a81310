#include "ui/message_boxes.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QMessageBox>

#include "core/program_identity.h"
#include "ui/main_window/main_window.h"

namespace ao07::ui {
namespace {

TEST(MessageBoxes, TheEndOfLogBoxIsPlainWithOneOkButtonAndTheProgramsTitle) {
    const QString text = QString::fromLatin1(ui::kEndOfFileMessage);
    const auto box = MakePlainMessageBox(nullptr, text);
    EXPECT_EQ(box->windowTitle(), QString::fromLatin1(kProgramTitle));
    EXPECT_EQ(box->text(), QStringLiteral("          End of file reached.          "));
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->standardButton(box->buttons().first()), QMessageBox::Ok);
    EXPECT_NE(box->windowModality(), Qt::NonModal);
}

TEST(MessageBoxes, AnErrorBoxWarnsWithTheProgramsTitle) {
    const auto box =
        MakeErrorMessageBox(nullptr, QStringLiteral("The log \"a\" could not be opened."));
    EXPECT_EQ(box->windowTitle(), QString::fromLatin1(kProgramTitle));
    EXPECT_EQ(box->icon(), QMessageBox::Warning);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->standardButton(box->buttons().first()), QMessageBox::Ok);
}

TEST(MessageBoxes, EveryBoxIsWideEnoughForItsCaptionAndTheTitleBarsButtons) {
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int captionWidth =
        QFontMetrics(titleFont).horizontalAdvance(QString::fromLatin1(kProgramTitle));
    for (const auto& box :
         {MakePlainMessageBox(nullptr, QString::fromLatin1(ui::kEndOfFileMessage)),
          MakeErrorMessageBox(nullptr, QStringLiteral("x"))}) {
        box->show();  // the box takes its size when shown
        EXPECT_GE(box->width(), captionWidth + 100) << box->text().toStdString();
        box->hide();
    }
}

}  // namespace
}  // namespace ao07::ui
