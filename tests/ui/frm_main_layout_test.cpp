// frmMain's controls where the window was drawn (twips, 15 to a pixel), with their looks, and
// fonts that fit every caption, heading and value into its box.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>

#include <vector>

#include "core/program_identity.h"
#include "ui/frm_main_fixture.h"

namespace ao07::test {
namespace {

struct Place {
    const char* name;
    const char* container;  // the frame it stands in, or "" for the client area
    int left, top, width, height;
};

QRect Pixels(const Place& p) {
    return {p.left / 15, p.top / 15, p.width / 15, p.height / 15};
}

// Every control with a fixed place, from the window's drawing.
const std::vector<Place> kPlaces = {
    {"Label1", "", 240, 240, 735, 255},
    {"lblOrbit", "", 1080, 240, 1215, 255},
    {"Label64", "", 3480, 240, 615, 255},
    {"lblDate", "", 4200, 240, 1215, 255},
    {"Label62", "", 5640, 240, 615, 255},
    {"lblTime", "", 6360, 240, 1215, 255},
    {"Frame2", "", 120, 720, 3615, 1695},
    {"Frame3", "", 120, 2520, 3615, 1695},
    {"Frame4", "", 120, 4320, 3615, 1695},
    {"Frame5", "", 3960, 720, 3615, 1695},
    {"Frame7", "", 3960, 2520, 3615, 1695},
    {"Frame6", "", 3960, 4320, 3615, 1695},
    {"Frame1", "", 120, 6120, 2895, 2655},
    {"Frame8", "", 3240, 6120, 3255, 2655},
    {"butAutoStop", "", 6720, 6240, 855, 375},
    {"butNext", "", 6720, 6720, 855, 375},
    {"butExit", "", 6720, 8400, 855, 375},
    {"Label60", "Frame8", 120, 240, 975, 255},
    {"chkEnableCSVFile", "Frame8", 1920, 360, 1215, 495},
    {"txtRawData", "Frame8", 120, 480, 1575, 285},
    {"Label61", "Frame8", 120, 840, 1335, 255},
    {"txtOutputData", "Frame8", 120, 1080, 3015, 1455},
    {"Label3", "Frame1", 480, 240, 495, 255},
    {"Label4", "Frame1", 1080, 240, 495, 255},
    {"Label5", "Frame1", 1680, 240, 495, 255},
    {"Label6", "Frame1", 2280, 240, 495, 255},
    {"Label7", "Frame1", 120, 480, 255, 255},
    {"Label8", "Frame1", 120, 840, 255, 255},
    {"Label9", "Frame1", 120, 1200, 255, 255},
    {"Label10", "Frame1", 120, 1560, 255, 255},
    {"Label11", "Frame1", 120, 1920, 255, 255},
    {"Label12", "Frame1", 120, 2280, 255, 255},
};

// Each channel's line: its frame, its top, its caption and unit labels and their texts.
struct ChannelLine {
    const char* pair;
    const char* frame;
    int top;
    const char* captionLabel;
    const char16_t* caption;
    const char* unitLabel;
    const char16_t* unit;
};
const std::vector<ChannelLine> kChannelLines = {
    {"lbl1a", "Frame2", 240, "Label2", u"Total Solar Array Current:", "Label16", u"A"},
    {"lbl1b", "Frame2", 600, "Label13", u"+X Solar Panel Current:", "Label17", u"A"},
    {"lbl1c", "Frame2", 960, "Label14", u"-X Solar Panel Current:", "Label18", u"A"},
    {"lbl1d", "Frame2", 1320, "Label15", u"+Y Solar Panel Current:", "Label19", u"A"},
    {"lbl2a", "Frame3", 240, "Label20", u"-Y Solar Panel Current:", "Label24", u"A"},
    {"lbl2b", "Frame3", 600, "Label21", u"RF Power Out 70cm/2m:", "Label25", u"W"},
    {"lbl2c", "Frame3", 960, "Label22", u"24-Hr. Clock Time:", "Label26", u"min"},
    {"lbl2d", "Frame3", 1320, "Label23", u"Battery Chg/Dischg Current:", "Label27", u"A"},
    {"lbl3a", "Frame4", 240, "Label35", u"Battery Voltage:", "Label28", u"V"},
    {"lbl3b", "Frame4", 600, "Label34", u"Half-Battery Voltage:", "Label29", u"V"},
    {"lbl3c", "Frame4", 960, "Label33", u"Battery Charge Reg. #1:", "Label30", u"V"},
    {"lbl3d", "Frame4", 1320, "Label32", u"Battery Temperature:", "Label31", u"\u00B0C"},
    {"lbl4a", "Frame5", 240, "Label36", u"Baseplate Temperature:", "Label40", u"\u00B0C"},
    {"lbl4b", "Frame5", 600, "Label37", u"PA Temperature - 2/10 Rptr:", "Label41", u"\u00B0C"},
    {"lbl4c", "Frame5", 960, "Label38", u"+X Facet Temperature:", "Label42", u"\u00B0C"},
    {"lbl4d", "Frame5", 1320, "Label39", u"+Z Facet Temperature:", "Label43", u"\u00B0C"},
    {"lbl5a", "Frame7", 240, "Label59", u"PA Temperature - 70/2 Rptr:", "Label44", u"\u00B0C"},
    {"lbl5b", "Frame7", 600, "Label58", u"PA Emitter Current 2/10:", "Label45", u"ma"},
    {"lbl5c", "Frame7", 960, "Label57", u"Modulator Temp. - 70/2:", "Label46", u"\u00B0C"},
    {"lbl5d", "Frame7", 1320, "Label56", u"Instr. Sw. Reg. Input Current:", "Label47", u"ma"},
    {"lbl6a", "Frame6", 240, "Label51", u"RF Power Out - 2m/10m:", "Label52", u"W"},
    {"lbl6b", "Frame6", 600, "Label50", u"RF Power Out - 435MHz:", "Label53", u"mw"},
    {"lbl6c", "Frame6", 960, "Label49", u"RF Power Out - 2304MHz:", "Label54", u"mw"},
    {"lbl6d", "Frame6", 1320, "Label48", u"Midrange Telemetry Cal.:", "Label55", u"V"},
};

QString Name(const char* name) {
    return QString::fromLatin1(name);
}

class FrmMainLayoutTest : public FrmMainTest {
protected:
    QWidget* Control(const QString& name) const { return Find<QWidget>(name); }
    QString ContainerName(const QWidget* w) const {
        return w->parentWidget() == window->centralWidget() ? QString()
                                                            : w->parentWidget()->objectName();
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

TEST_F(FrmMainLayoutTest, TheClientAreaIsFixedAt513By592UnderTheMenuBar) {
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
    // Centred on the screen when first shown.
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE((window->frameGeometry().center() - screen.center()).manhattanLength(), 1);
}

TEST_F(FrmMainLayoutTest, EveryFixedControlStandsWhereItWasDrawn) {
    for (const Place& place : kPlaces) {
        const QWidget* control = Control(Name(place.name));
        ASSERT_NE(control, nullptr);
        EXPECT_EQ(control->geometry(), Pixels(place)) << place.name;
        EXPECT_EQ(ContainerName(control), Name(place.container)) << place.name;
    }
    // Line1 runs along the top edge, past the right edge of the client area.
    EXPECT_EQ(Control(QStringLiteral("Line1"))->geometry(), QRect(0, 0, 528, 1));
}

TEST_F(FrmMainLayoutTest, EachValueLabelStandsBesideItsCaptionAndUnit) {
    for (const ChannelLine& line : kChannelLines) {
        const QLabel* caption = Label(Name(line.captionLabel));
        const QLabel* value = Label(Name(line.pair) + QStringLiteral("_1"));
        const QLabel* unit = Label(Name(line.unitLabel));
        ASSERT_TRUE(caption && value && unit);
        const int top = line.top / 15;
        EXPECT_EQ(caption->geometry(), QRect(8, top, 137, 17)) << line.pair;
        EXPECT_EQ(value->geometry(), QRect(152, top, 57, 17)) << line.pair;
        EXPECT_EQ(unit->geometry(), QRect(216, top, 17, 17)) << line.pair;
        for (const QLabel* label : {caption, value, unit}) {
            EXPECT_EQ(ContainerName(label), Name(line.frame)) << label->objectName().toStdString();
        }
        EXPECT_EQ(caption->text(), QString::fromUtf16(line.caption));
        EXPECT_EQ(unit->text(), QString::fromUtf16(line.unit));
        EXPECT_LT(caption->geometry().right(), value->geometry().left());
        EXPECT_LT(value->geometry().right(), unit->geometry().left());
        EXPECT_EQ(caption->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(unit->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
        EXPECT_EQ(value->alignment(), Qt::AlignCenter);
        EXPECT_NE(value->frameShape(), QFrame::NoFrame);
        EXPECT_FALSE(caption->font().bold());
    }
}

TEST_F(FrmMainLayoutTest, EachRawValueStandsUnderItsSlotBesideItsRow) {
    for (int row = 1; row <= 6; ++row) {
        for (int slot = 1; slot <= 4; ++slot) {
            const QString name = QStringLiteral("lbl%1%2_0").arg(row).arg(QChar(u'a' + slot - 1));
            const QLabel* cell = Label(name);
            ASSERT_NE(cell, nullptr);
            EXPECT_EQ(ContainerName(cell), QStringLiteral("Frame1"));
            EXPECT_EQ(cell->geometry(),
                      QRect((480 + 600 * (slot - 1)) / 15, (480 + 360 * (row - 1)) / 15, 33, 17))
                << name.toStdString();
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

TEST_F(FrmMainLayoutTest, TitlesAndHeadingsAreBoldColumnHeadingsUnderlined) {
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

TEST_F(FrmMainLayoutTest, EveryCaptionHeadingAndValueFitsItsBox) {
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

TEST_F(FrmMainLayoutTest, TabGoesThroughTheSixControlsInTheirOrder) {
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

TEST_F(FrmMainLayoutTest, TheMenuBarHoldsFileWithOpenAndExitAndAbout) {
    const QList<QAction*> top = window->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->objectName(), QStringLiteral("mnuFile"));
    EXPECT_EQ(top[0]->text(), QStringLiteral("&File"));
    ASSERT_NE(top[0]->menu(), nullptr);
    const QList<QAction*> file = top[0]->menu()->actions();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file[0]->objectName(), QStringLiteral("mnuFileOpen"));
    EXPECT_EQ(file[0]->text(), QStringLiteral("&Open"));
    EXPECT_EQ(file[1]->objectName(), QStringLiteral("mnuFileExit"));
    EXPECT_EQ(file[1]->text(), QStringLiteral("&Exit"));
    EXPECT_EQ(top[1]->objectName(), QStringLiteral("mnuAbout"));
    EXPECT_EQ(top[1]->text(), QStringLiteral("&About"));
    EXPECT_EQ(top[1]->menu(), nullptr);
    for (const QAction* action : {top[0], file[0], file[1], top[1]}) {
        EXPECT_TRUE(action->shortcut().isEmpty()) << action->objectName().toStdString();
    }
}

}  // namespace
}  // namespace ao07::test
