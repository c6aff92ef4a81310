// The Listen window driven as a user drives it: typing into the copy pad, clicking on the
// waterfall, with the log kept in a folder of the test's own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QSpinBox>
#include <QTest>
#include <QTextBlock>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "robustness/file_size_limit.h"
#include "support/temp_dir.h"
#include "ui/listen/copy_pad.h"
#include "ui/listen/listen_window.h"
#include "ui/listen/waterfall.h"

namespace ao07::ui {
namespace {

class ListenWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ListenRequest request;
        request.log = QString::fromStdString(m_dir.File("pass.txt"));
        m_window = std::make_unique<ListenWindow>(request);
        m_window->setAttribute(Qt::WA_DeleteOnClose, false);
        m_window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_window.get()));
        m_pad = m_window->findChild<CopyPad*>(QStringLiteral("copyPad"));
        ASSERT_NE(m_pad, nullptr);
    }

    /// Types `lines` into the pad at its end, each completed with Return.
    void TypeLines(const std::vector<std::string>& lines) {
        m_pad->moveCursor(QTextCursor::End);
        for (const std::string& line : lines) {
            QTest::keyClicks(m_pad, QString::fromStdString(line));
            QTest::keyClick(m_pad, Qt::Key_Return);
        }
    }

    std::string LogOnDisk() const { return test::ReadFile(m_dir.File("pass.txt")); }

    QString Status() const {
        return m_window->findChild<QLabel*>(QStringLiteral("status"))->text();
    }

    test::TempDir m_dir;
    std::unique_ptr<ListenWindow> m_window;
    CopyPad* m_pad = nullptr;
};

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\r\n";
    }
    return text;
}

// Each typed row shows its four values beside it, as the CSV of the example log has them.
TEST_F(ListenWindowTest, TypedRowShowsItsDecodedValues) {
    struct Case {
        std::string row;
        QStringList shown;
    };
    const std::vector<Case> cases = {
        {"150 101 101 101", {"1A 1475.000", "1B 1.950", "1C 1.950", "1D 1.950"}},
        {"205 250 299 250", {"2A 0.148", "2B 2.000", "2C 1500.840", "2D 0.000"}},
        {"  650 650 650 650", {"6D 0.500"}},
        {"1x0 101 1?1 101", {"1A not copied", "1B 1.950", "1C not copied", "1D 1.950"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.row);
        m_pad->clear();
        TypeLines({c.row});
        const QString decoded = m_pad->DecodedText(0);
        qsizetype from = 0;
        for (const QString& part : c.shown) {
            from = decoded.indexOf(part, from);
            EXPECT_GE(from, 0) << decoded.toStdString() << " lacks " << part.toStdString();
        }
    }
}

// A line meant as a row without a row's shape is underlined, and its tooltip says why.
TEST_F(ListenWindowTest, MalformedRowIsUnderlinedWithItsReason) {
    struct Case {
        std::string line;
        std::string reason;  // "" for a line left as it is
    };
    const std::vector<Case> cases = {
        {"205 250 299 25", "A row has 15 characters; this line has 14."},
        {"2052 50 299 250",
         "A row is four groups of three characters with one blank between them; character 4 "
         "breaks that."},
        {"705 750 799 750", "The row digit is 1 to 6, not \"7\"."},
        {"205 350 299 250", "Group 2 starts with \"3\", not the row digit \"2\"."},
        {"205 250 x99 250", ""},
        {"ORBIT 23514", ""},
        {"HI HI", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        m_pad->clear();
        TypeLines({c.line});
        EXPECT_EQ(m_pad->ToolTipAt(0, 2).toStdString(), c.reason);
        bool underlined = false;
        for (const QTextEdit::ExtraSelection& selection : m_pad->extraSelections()) {
            underlined = underlined ||
                         (selection.cursor.blockNumber() == 0 &&
                          selection.format.underlineStyle() == QTextCharFormat::WaveUnderline &&
                          selection.cursor.selectedText() == QString::fromStdString(c.line));
        }
        EXPECT_EQ(underlined, !c.reason.empty());
    }
}

// Each completed line reaches the disk at once; an edit of an earlier line rewrites the log
// whole, under the same name, and loses no line.
TEST_F(ListenWindowTest, EditOfAnEarlierLineRewritesTheLog) {
    const std::vector<std::string> typed = {"ORBIT 23514", "HI HI", "150 101 101 101",
                                            "205 250 299 250"};
    TypeLines(typed);
    EXPECT_EQ(LogOnDisk(), Joined(typed));
    // Held open across the edit: a log rewritten in place would change under it.
    std::ifstream before(m_dir.File("pass.txt"), std::ios::binary);

    QTextCursor cursor(m_pad->document()->findBlockByNumber(2));
    cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, 6);
    m_pad->setTextCursor(cursor);
    QTest::keyClick(m_pad, Qt::Key_Delete);
    QTest::keyClicks(m_pad, QStringLiteral("2"));
    TypeLines({"350 399 301 365"});

    EXPECT_EQ(LogOnDisk(), Joined({"ORBIT 23514", "HI HI", "150 102 101 101", "205 250 299 250",
                                   "350 399 301 365"}));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(before), {}), Joined(typed))
        << "rewritten in place, not through a new file";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m_dir.Path()),
                            std::filesystem::directory_iterator()),
              1)
        << "a temporary file was left behind";
}

// A write that fails (a full disk) is said at once, naming the log, and every line completed
// before it stays in the log.
TEST_F(ListenWindowTest, FailedWriteIsReported) {
    const std::vector<std::string> fits = {"ORBIT 23514", "HI HI", "150 101 101 101"};
    TypeLines({fits[0]});
    {
        test::FileSizeLimit full(Joined(fits).size() + 5);
        ASSERT_TRUE(full.Active());
        TypeLines({fits[1], fits[2]});
        EXPECT_TRUE(Status().isEmpty() || !Status().contains(QStringLiteral("could not")));
        TypeLines({"205 250 299 250"});
    }
    EXPECT_TRUE(Status().contains(QStringLiteral("The log could not be written")))
        << Status().toStdString();
    EXPECT_TRUE(Status().contains(QString::fromStdString(m_dir.File("pass.txt"))))
        << Status().toStdString();
    EXPECT_EQ(LogOnDisk(), Joined(fits));
}

// A click on the waterfall tunes to the tone under it.
TEST_F(ListenWindowTest, ClickOnTheWaterfallRetunes) {
    auto* waterfall = m_window->findChild<Waterfall*>(QStringLiteral("waterfall"));
    auto* plot = waterfall->findChild<QWidget*>(QStringLiteral("waterfallPlot"));
    auto* tone = m_window->findChild<QSpinBox*>(QStringLiteral("tuneTone"));
    for (const double toneHz : {500.0, 1200.0, 1800.0}) {
        SCOPED_TRACE(toneHz);
        const QPoint at(waterfall->PositionOf(toneHz), plot->height() / 2);
        QTest::mouseClick(plot, Qt::LeftButton, {}, plot->mapFrom(waterfall, at));
        EXPECT_NEAR(tone->value(), toneHz, 10);
        EXPECT_TRUE(Status().startsWith(QStringLiteral("Tuned to"))) << Status().toStdString();
    }
}

}  // namespace
}  // namespace ao07::ui
