// frmMain's layout as a person sees it: controls that do not draw over each other, each channel
// with its caption and unit, captions that fit their boxes, the Tab order and the menus.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QStyle>

#include <vector>

#include "core/program_identity.h"
#include "decoder/channel_table.h"
#include "ui/main_window/main_window_fixture.h"
#include "ui/windows1252.h"

namespace ao07::test {
namespace {

QString Name(const char* name) {
    return QString::fromLatin1(name);
}

// What of a control a person sees: the text of a plain label (its box is invisible), the whole
// box of everything else; nothing for a plain label without text.
QRect VisibleRect(const QWidget* control) {
    const auto* label = qobject_cast<const QLabel*>(control);
    if (label == nullptr || label->frameShape() != QFrame::NoFrame) {
        return control->geometry();
    }
    if (label->text().isEmpty()) {
        return {};
    }
    const QRect text = label->style()->itemTextRect(label->fontMetrics(), label->contentsRect(),
                                                    static_cast<int>(label->alignment()),
                                                    label->isEnabled(), label->text());
    return text.translated(label->pos());
}

class MainWindowLayoutTest : public MainWindowTest {
protected:
    QWidget* Control(const QString& name) const { return Find<QWidget>(name); }
    /// The client area and each frame, with the controls that stand directly in it.
    std::vector<std::pair<const QWidget*, std::vector<const QWidget*>>> Containers() const {
        std::vector<const QWidget*> containers = {window->centralWidget()};
        for (const QGroupBox* frame : window->centralWidget()->findChildren<QGroupBox*>()) {
            containers.push_back(frame);
        }
        std::vector<std::pair<const QWidget*, std::vector<const QWidget*>>> result;
        for (const QWidget* container : containers) {
            std::vector<const QWidget*> controls;
            for (const QWidget* control :
                 container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
                if (!VisibleRect(control).isEmpty()) {
                    controls.push_back(control);
                }
            }
            result.emplace_back(container, controls);
        }
        return result;
    }
    // The text fits inside the label's box, within its border.
    void ExpectFits(const QLabel* label, const QString& text) const {
        const QFontMetrics metrics(label->font());
        EXPECT_LE(metrics.horizontalAdvance(text), label->contentsRect().width())
            << label->objectName().toStdString() << ": " << text.toStdString();
        EXPECT_LE(metrics.height(), label->contentsRect().height())
            << label->objectName().toStdString();
    }
};

TEST_F(MainWindowLayoutTest, TheClientAreaIsFixedAt513By592UnderTheMenuBar) {
    EXPECT_EQ(window->windowTitle(), QString::fromLatin1(kProgramTitle));
    const QWidget* client = window->centralWidget();
    EXPECT_EQ(client->size(), QSize(513, 592));
    EXPECT_EQ(client->y(), window->menuBar()->height());
    EXPECT_EQ(window->height(), window->menuBar()->height() + 592);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    const Qt::WindowFlags flags = window->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::WindowCloseButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMinimizeButtonHint));
    EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
    // Centred on the screen when first shown; the screen has room, so nothing scrolls.
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 1);
    EXPECT_EQ(window->findChild<QScrollArea*>(), nullptr);
}

TEST_F(MainWindowLayoutTest, NoTwoControlsDrawOverEachOtherAndEachStaysInItsContainer) {
    for (const auto& [container, controls] : Containers()) {
        const std::string where = container->objectName().toStdString();
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const QRect rect = VisibleRect(controls[i]);
            const std::string name = controls[i]->objectName().toStdString();
            // Line1 runs along the top edge and on past the right one, where the window cuts it.
            // A frame draws its own edge and title, so its whole rectangle is the room inside.
            if (name != "Line1") {
                EXPECT_TRUE(container->rect().contains(rect)) << name << " in " << where;
            }
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(rect.intersects(VisibleRect(controls[j])))
                    << name << " and " << controls[j]->objectName().toStdString() << " in "
                    << where;
            }
        }
    }
}

TEST_F(MainWindowLayoutTest, EachChannelShowsTheCaptionAndUnitOfTheChannelTable) {
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const int row = RowOf(channel);
        const QString pair = QString::fromStdString(ChannelName(channel)).toLower();
        const QLabel* value = Label(QStringLiteral("lbl%1_1").arg(pair));
        ASSERT_NE(value, nullptr);
        const auto* frame = qobject_cast<const QGroupBox*>(value->parentWidget());
        ASSERT_NE(frame, nullptr) << pair.toStdString();
        EXPECT_EQ(frame->title(), QStringLiteral("Channel Parameter %1A - %1D").arg(row));
        // The caption ends left of the value box and the unit starts right of it, on its line.
        const QLabel* caption = nullptr;
        const QLabel* unit = nullptr;
        for (const QLabel* label : frame->findChildren<QLabel*>()) {
            if (label->y() != value->y() || label == value) {
                continue;
            }
            (label->x() < value->x() ? caption : unit) = label;
        }
        ASSERT_TRUE(caption && unit) << pair.toStdString();
        EXPECT_EQ(caption->text(), ui::FromWindows1252(Channel(channel).caption));
        EXPECT_EQ(unit->text(), ui::FromWindows1252(Channel(channel).unit));
        EXPECT_EQ(caption->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(unit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        // The channels of a row stand in the order A to D, top to bottom.
        if (SlotOf(channel) > 1) {
            EXPECT_GT(value->y(),
                      Label(QStringLiteral("lbl%1_1").arg(
                                QString::fromStdString(ChannelName(channel - 1)).toLower()))
                          ->y());
        }
    }
}

TEST_F(MainWindowLayoutTest, EachRawValueStandsUnderItsSlotBesideItsRow) {
    for (int row = 1; row <= 6; ++row) {
        for (int slot = 1; slot <= 4; ++slot) {
            const QString name = QStringLiteral("lbl%1%2_0").arg(row).arg(QChar(u'a' + slot - 1));
            const QLabel* cell = Label(name);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(cell->parentWidget()->objectName(), QStringLiteral("Frame1"));
            const QLabel* column = Label(QStringLiteral("Label%1").arg(2 + slot));
            const QLabel* rowHeading = Label(QStringLiteral("Label%1").arg(6 + row));
            EXPECT_EQ(column->text(), QString(QChar(u'A' + slot - 1)));
            EXPECT_EQ(rowHeading->text(), QString::number(row));
            EXPECT_EQ(column->x(), cell->x());
            EXPECT_EQ(rowHeading->y(), cell->y());
            EXPECT_EQ(cell->alignment(), Qt::AlignCenter);
        }
    }
}

TEST_F(MainWindowLayoutTest, TitlesAndHeadingsAreBoldColumnHeadingsUnderlined) {
    const std::vector<std::pair<const char*, const char16_t*>> frames = {
        {"Frame2", u"Channel Parameter 1A - 1D"},
        {"Frame3", u"Channel Parameter 2A - 2D"},
        {"Frame4", u"Channel Parameter 3A - 3D"},
        {"Frame5", u"Channel Parameter 4A - 4D"},
        {"Frame7", u"Channel Parameter 5A - 5D"},
        {"Frame6", u"Channel Parameter 6A - 6D"},
        {"Frame1", u"Raw Data"},
        {"Frame8", u"File I/O"}};
    for (const auto& [name, title] : frames) {
        const auto* frame = Find<QGroupBox>(Name(name));
        EXPECT_EQ(frame->title(), QString::fromUtf16(title));
        EXPECT_TRUE(frame->font().bold()) << name;
        // The title fits on the frame's top edge, inside its corners.
        EXPECT_LE(QFontMetrics(frame->font()).horizontalAdvance(frame->title()),
                  frame->width() - 16)
            << name;
    }
    for (const char* name : {"Label1", "Label64", "Label62"}) {
        EXPECT_TRUE(Label(Name(name))->font().bold()) << name;
        EXPECT_EQ(Label(Name(name))->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    }
    for (int number = 3; number <= 12; ++number) {
        const QLabel* heading = Label(QStringLiteral("Label%1").arg(number));
        EXPECT_TRUE(heading->font().bold()) << number;
        EXPECT_EQ(heading->font().underline(), number <= 6) << number;
        EXPECT_EQ(heading->alignment(), Qt::AlignCenter) << number;
    }
    EXPECT_FALSE(Label(QStringLiteral("Label60"))->font().bold());
    EXPECT_EQ(CsvSwitch()->text().simplified(), QStringLiteral("Create .csv output file"));
    EXPECT_EQ(CsvSwitch()->text().count(u'\n'), 1);  // the caption wraps onto two lines
}

TEST_F(MainWindowLayoutTest, EveryCaptionHeadingAndValueFitsItsBox) {
    for (QLabel* label : window->findChildren<QLabel*>()) {
        if (!label->text().isEmpty()) {
            ExpectFits(label, label->text());
        }
    }
    // The widest texts the program writes into its value boxes.
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        const QString pair = QString::fromStdString(ChannelName(channel)).toLower();
        ExpectFits(Label(QStringLiteral("lbl%1_1").arg(pair)), QStringLiteral("2920.500"));
        ExpectFits(Label(QStringLiteral("lbl%1_1").arg(pair)), QStringLiteral("-50.720"));
        ExpectFits(Label(QStringLiteral("lbl%1_0").arg(pair)), QStringLiteral("-9"));
        ExpectFits(Label(QStringLiteral("lbl%1_0").arg(pair)), QStringLiteral("99"));
    }
    ExpectFits(Label(QStringLiteral("lblOrbit")), QStringLiteral("-2147483648"));
    ExpectFits(Label(QStringLiteral("lblDate")), QStringLiteral("08-JUL-02"));
    ExpectFits(Label(QStringLiteral("lblTime")), QStringLiteral("14:32:59"));
    // The check box's two caption lines fit beside its indicator.
    const QCheckBox* box = CsvSwitch();
    const QFontMetrics metrics(box->font());
    for (const QString& line : box->text().split(u'\n')) {
        EXPECT_LE(metrics.horizontalAdvance(line), box->width() - 16) << line.toStdString();
    }
    EXPECT_LE(2 * metrics.height(), box->height());
    for (const char* name : {"butAutoStop", "butNext", "butExit"}) {
        EXPECT_LE(QFontMetrics(Button(name)->font()).horizontalAdvance(QStringLiteral("Stop")),
                  Button(name)->width() - 8);
    }
}

TEST_F(MainWindowLayoutTest, TabGoesThroughTheSixControlsInTheirOrder) {
    const std::vector<QString> expected = {
        QStringLiteral("butAutoStop"), QStringLiteral("butNext"),
        QStringLiteral("txtRawData"),  QStringLiteral("txtOutputData"),
        QStringLiteral("butExit"),     QStringLiteral("chkEnableCSVFile")};
    std::vector<QString> order;
    QWidget* start = Control(expected.front());
    QWidget* w = start;
    do {
        if (w->focusPolicy() & Qt::TabFocus) {
            order.push_back(w->objectName());
        }
        w = w->nextInFocusChain();
    } while (w != start && order.size() < 20);
    EXPECT_EQ(order, expected);
    // With the two step buttons disabled, the line box has the focus at the start.
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(QApplication::focusWidget(), Control(QStringLiteral("txtRawData")));
}

TEST_F(MainWindowLayoutTest, TheMenuBarHoldsFileWithOpenListenAndExitAndAbout) {
    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->objectName(), QStringLiteral("mnuFile"));
    EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));
    ASSERT_NE(top[0]->menu(), nullptr);
    const QList<QAction*> file = top[0]->menu()->actions();
    ASSERT_EQ(file.size(), 3);
    EXPECT_EQ(file[0]->objectName(), QStringLiteral("mnuFileOpen"));
    EXPECT_EQ(file[0]->text(), QStringLiteral("&Open"));
    EXPECT_EQ(file[1]->objectName(), QStringLiteral("mnuFileListen"));
    EXPECT_EQ(file[1]->text(), QStringLiteral("&Listen..."));
    EXPECT_EQ(file[2]->objectName(), QStringLiteral("mnuFileExit"));
    EXPECT_EQ(file[2]->text(), QStringLiteral("&Exit"));
    EXPECT_EQ(top[1]->objectName(), QStringLiteral("mnuAbout"));
    EXPECT_EQ(top[1]->text(), QStringLiteral("&About"));
    EXPECT_EQ(top[1]->menu(), nullptr);
    for (const QAction* action : {top[0], file[0], file[1], file[2], top[1]}) {
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
    }
}

// Run only by the test "main_window_scaled_twice": QT_SCALE_FACTOR=2 on a 1920 x 1080 screen
// leaves 960 x 540 pixels, less than the window's height.
class MainWindowOnAScaledScreen : public MainWindowLayoutTest {};

TEST_F(MainWindowOnAScaledScreen, TheTitleBarIsOnTheScreenAndEveryControlCanBeScrolledTo) {
    const QRect screen = window->screen()->availableGeometry();
    ASSERT_LT(screen.height(), 592) << "run with QT_SCALE_FACTOR=2 on a 1920 x 1080 screen";
    EXPECT_TRUE(screen.contains(window->frameGeometry())) << window->frameGeometry().y();
    const auto* scroll = window->findChild<QScrollArea*>();
    ASSERT_NE(scroll, nullptr);
    EXPECT_EQ(scroll->widget()->size(), QSize(513, 592));
    for (QWidget* control : scroll->widget()->findChildren<QWidget*>()) {
        if (control->objectName() == QStringLiteral("Line1")) {
            continue;  // wider than the client area by design
        }
        const_cast<QScrollArea*>(scroll)->ensureWidgetVisible(control, 0, 0);
        const QRect shown(control->mapTo(scroll->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(scroll->viewport()->rect().contains(shown))
            << control->objectName().toStdString();
    }
    // Tab still goes through the six controls alone.
    EXPECT_EQ(scroll->focusPolicy(), Qt::NoFocus);
}

}  // namespace
}  // namespace ao07::test
