#include "ui/main_window/main_window_controls.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>

#include "decoder/channel_table.h"
#include "ui/main_window/titled_frame.h"
#include "ui/twips.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

enum class Look {
    Caption,        // plain, right-aligned
    BoldCaption,    // bold, right-aligned
    ValueBox,       // thin border, centred, empty until written
    Unit,           // plain, left-aligned
    Heading,        // bold, centred
    ColumnHeading,  // bold, underlined, centred
    Plain,          // plain, left-aligned
};

struct LabelEntry {
    const char* name;
    const char* caption;
    Twips place;
    Look look;
};

// The header strip along the top of the client area.
constexpr LabelEntry kHeaderStrip[] = {
    {"Label1", "Orbit #:", {240, 240, 735, 255}, Look::BoldCaption},
    {"lblOrbit", "", {1080, 240, 1215, 255}, Look::ValueBox},
    {"Label64", "Date:", {3480, 240, 615, 255}, Look::BoldCaption},
    {"lblDate", "", {4200, 240, 1215, 255}, Look::ValueBox},
    {"Label62", "Time:", {5640, 240, 615, 255}, Look::BoldCaption},
    {"lblTime", "", {6360, 240, 1215, 255}, Look::ValueBox},
};

// The "Channel Parameter" frame of each row 1..6; rows 5 and 6 sit in Frame7 and Frame6.
struct FrameEntry {
    const char* name;
    Twips place;
};
constexpr FrameEntry kChannelFrames[kRowCount] = {
    {"Frame2", {120, 720, 3615, 1695}},   {"Frame3", {120, 2520, 3615, 1695}},
    {"Frame4", {120, 4320, 3615, 1695}},  {"Frame5", {3960, 720, 3615, 1695}},
    {"Frame7", {3960, 2520, 3615, 1695}}, {"Frame6", {3960, 4320, 3615, 1695}},
};

// The numbers of each channel's caption and unit label ("Label2", "Label16" for 1A), 1A..6D.
struct ChannelLabelNumbers {
    int caption;
    int unit;
};
constexpr ChannelLabelNumbers kChannelLabels[kChannelCount] = {
    {2, 16},  {13, 17}, {14, 18}, {15, 19}, {20, 24}, {21, 25}, {22, 26}, {23, 27},
    {35, 28}, {34, 29}, {33, 30}, {32, 31}, {36, 40}, {37, 41}, {38, 42}, {39, 43},
    {59, 44}, {58, 45}, {57, 46}, {56, 47}, {51, 52}, {50, 53}, {49, 54}, {48, 55},
};

// One line of a channel frame per slot, 360 twips apart from Top 240.
constexpr int kChannelLineTop = 240;
constexpr int kChannelLineStep = 360;
constexpr Twips kCaptionColumn{120, 0, 2055, 255};
constexpr Twips kValueColumn{2280, 0, 855, 255};
constexpr Twips kUnitColumn{3240, 0, 255, 255};

// The "Raw Data" grid: slot columns and row lines, with their headings.
constexpr Twips kRawDataFrame{120, 6120, 2895, 2655};
constexpr int kGridLeft = 480;
constexpr int kGridColumnStep = 600;
constexpr int kGridTop = 480;
constexpr int kGridRowStep = 360;
constexpr int kGridCellWidth = 495;
constexpr int kGridCellHeight = 255;
constexpr int kFirstColumnHeadingLabel = 3;  // Label3..Label6: "A".."D"
constexpr int kFirstRowHeadingLabel = 7;     // Label7..Label12: "1".."6"

constexpr Twips kFileIoFrame{3240, 6120, 3255, 2655};
constexpr LabelEntry kFileIoLabels[] = {
    {"Label60", "Input Data", {120, 240, 975, 255}, Look::Plain},
    {"Label61", "Output Data", {120, 840, 1335, 255}, Look::Plain},
};
constexpr Twips kCsvSwitch{1920, 360, 1215, 495};
constexpr Twips kRawDataBox{120, 480, 1575, 285};
constexpr Twips kOutputDataBox{120, 1080, 3015, 1455};

constexpr Twips kAutoStopButton{6720, 6240, 855, 375};
constexpr Twips kNextButton{6720, 6720, 855, 375};
constexpr Twips kExitButton{6720, 8400, 855, 375};

// Line1 runs along the top edge from (0, 0) to (7920, 0), past the client area's right edge.
constexpr int kLine1Length = 7920;

constexpr int kFontPixelSize = 10;

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& caption, const Twips& place,
                  Look look) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(ToPixels(place));
    QFont font = WindowFont(look == Look::BoldCaption || look == Look::Heading ||
                            look == Look::ColumnHeading);
    font.setUnderline(look == Look::ColumnHeading);
    label->setFont(font);
    switch (look) {
        case Look::Caption:
        case Look::BoldCaption:
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            break;
        case Look::ValueBox:
            label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
            label->setLineWidth(1);
            label->setAlignment(Qt::AlignCenter);
            break;
        case Look::Heading:
        case Look::ColumnHeading:
            label->setAlignment(Qt::AlignCenter);
            break;
        case Look::Unit:
        case Look::Plain:
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
            break;
    }
    // The captions are fixed texts; only the value boxes are written, and as plain text.
    label->setTextFormat(Qt::PlainText);
    return label;
}

QLabel* MakeLabel(QWidget* parent, const LabelEntry& entry) {
    return MakeLabel(parent, QString::fromLatin1(entry.name), QString::fromLatin1(entry.caption),
                     entry.place, entry.look);
}

QGroupBox* MakeFrame(QWidget* parent, const QString& name, const QString& title,
                     const Twips& place) {
    // The title sits on the frame's top edge, the edge running through its middle, so that
    // the first content line at 16 pixels clears both.
    auto* frame = new TitledFrame(title, parent);
    frame->setObjectName(name);
    frame->setGeometry(ToPixels(place));
    frame->setFont(WindowFont(true));
    return frame;
}

// "lbl3c_0" for element 0 of channel 3C's label pair.
QString PairName(int channel, int element) {
    return QStringLiteral("lbl%1_%2")
        .arg(QString::fromStdString(ChannelName(channel)).toLower())
        .arg(element);
}

QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption,
                        const Twips& place) {
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(ToPixels(place));
    button->setFont(WindowFont());
    button->setAutoDefault(false);
    return button;
}

// The check box's caption broken into lines that fit beside its indicator, as the caption of
// a narrow check box wraps.
QString WrappedCaption(const QCheckBox& box, const QString& caption) {
    const QStyle* style = box.style();
    const int textWidth = box.width() -
                          style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &box) -
                          style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &box);
    const QFontMetrics metrics(box.font());
    QStringList lines;
    for (const QString& word : caption.split(u' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() &&
            metrics.horizontalAdvance(lines.last() + u' ' + word) <= textWidth) {
            lines.last() += u' ' + word;
        } else {
            lines.append(word);
        }
    }
    return lines.join(u'\n');
}

void BuildChannelFrames(QWidget* client, MainWindowControls& controls) {
    for (int row = 1; row <= kRowCount; ++row) {
        const FrameEntry& entry = kChannelFrames[row - 1];
        const QString title = QStringLiteral("Channel Parameter %1A - %1D").arg(row);
        QGroupBox* frame = MakeFrame(client, QString::fromLatin1(entry.name), title, entry.place);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const int channel = ChannelIndex(row, slot);
            const ChannelInfo& info = Channel(channel);
            const ChannelLabelNumbers& numbers = kChannelLabels[channel - 1];
            const int top = kChannelLineTop + kChannelLineStep * (slot - 1);
            Twips caption = kCaptionColumn;
            Twips value = kValueColumn;
            Twips unit = kUnitColumn;
            caption.top = value.top = unit.top = top;
            MakeLabel(frame, QStringLiteral("Label%1").arg(numbers.caption),
                      FromWindows1252(info.caption), caption, Look::Caption);
            controls.channelValue[channel - 1] =
                MakeLabel(frame, PairName(channel, 1), {}, value, Look::ValueBox);
            MakeLabel(frame, QStringLiteral("Label%1").arg(numbers.unit),
                      FromWindows1252(info.unit), unit, Look::Unit);
        }
    }
}

void BuildRawDataGrid(QWidget* client, MainWindowControls& controls) {
    QGroupBox* frame =
        MakeFrame(client, QStringLiteral("Frame1"), QStringLiteral("Raw Data"), kRawDataFrame);
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        const int left = kGridLeft + kGridColumnStep * (slot - 1);
        MakeLabel(frame, QStringLiteral("Label%1").arg(kFirstColumnHeadingLabel + slot - 1),
                  QString(QChar(u'A' + slot - 1)), {left, 240, kGridCellWidth, kGridCellHeight},
                  Look::ColumnHeading);
    }
    for (int row = 1; row <= kRowCount; ++row) {
        const int top = kGridTop + kGridRowStep * (row - 1);
        MakeLabel(frame, QStringLiteral("Label%1").arg(kFirstRowHeadingLabel + row - 1),
                  QString::number(row), {120, top, 255, kGridCellHeight}, Look::Heading);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const int channel = ChannelIndex(row, slot);
            const int left = kGridLeft + kGridColumnStep * (slot - 1);
            controls.rawValue[channel - 1] =
                MakeLabel(frame, PairName(channel, 0), {},
                          {left, top, kGridCellWidth, kGridCellHeight}, Look::ValueBox);
        }
    }
}

void BuildFileIoFrame(QWidget* client, MainWindowControls& controls) {
    QGroupBox* frame =
        MakeFrame(client, QStringLiteral("Frame8"), QStringLiteral("File I/O"), kFileIoFrame);
    for (const LabelEntry& entry : kFileIoLabels) {
        MakeLabel(frame, entry);
    }
    controls.chkEnableCSVFile = new QCheckBox(frame);
    controls.chkEnableCSVFile->setObjectName(QStringLiteral("chkEnableCSVFile"));
    controls.chkEnableCSVFile->setGeometry(ToPixels(kCsvSwitch));
    controls.chkEnableCSVFile->setFont(WindowFont());
    controls.chkEnableCSVFile->setText(
        WrappedCaption(*controls.chkEnableCSVFile, QStringLiteral("Create .csv output file")));

    controls.txtRawData = new QLineEdit(frame);
    controls.txtRawData->setObjectName(QStringLiteral("txtRawData"));
    controls.txtRawData->setGeometry(ToPixels(kRawDataBox));
    controls.txtRawData->setFont(WindowFont());

    controls.txtOutputData = new QPlainTextEdit(frame);
    controls.txtOutputData->setObjectName(QStringLiteral("txtOutputData"));
    controls.txtOutputData->setGeometry(ToPixels(kOutputDataBox));
    controls.txtOutputData->setFont(WindowFont());
    controls.txtOutputData->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    controls.txtOutputData->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // A CSV record has no blanks: long words break anywhere, as the record runs on.
    controls.txtOutputData->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    controls.txtOutputData->setTabChangesFocus(true);
}

}  // namespace

QFont WindowFont(bool bold) {
    QFont font;
    // The layout is measured for Liberation Sans (Arial's metrics): every caption fits its box.
    // The others stand in where it is missing.
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                      QStringLiteral("Arial"), QStringLiteral("Sans Serif")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(kFontPixelSize);
    font.setWeight(bold ? QFont::Bold : QFont::Normal);
    return font;
}

MainWindowControls BuildMainWindowControls(QWidget* client) {
    MainWindowControls controls;
    client->setFont(WindowFont());

    auto* line = new QFrame(client);
    line->setObjectName(QStringLiteral("Line1"));
    line->setFrameStyle(QFrame::HLine | QFrame::Plain);
    line->setLineWidth(1);
    line->setGeometry(0, 0, kLine1Length / 15, 1);

    for (const LabelEntry& entry : kHeaderStrip) {
        MakeLabel(client, entry);
    }
    controls.lblOrbit = client->findChild<QLabel*>(QStringLiteral("lblOrbit"));
    controls.lblDate = client->findChild<QLabel*>(QStringLiteral("lblDate"));
    controls.lblTime = client->findChild<QLabel*>(QStringLiteral("lblTime"));

    BuildChannelFrames(client, controls);
    BuildRawDataGrid(client, controls);
    BuildFileIoFrame(client, controls);

    controls.butAutoStop = MakeButton(client, "butAutoStop", "Auto", kAutoStopButton);
    controls.butNext = MakeButton(client, "butNext", "Next", kNextButton);
    controls.butExit = MakeButton(client, "butExit", "Exit", kExitButton);

    controls.tabOrder = {controls.butAutoStop,   controls.butNext, controls.txtRawData,
                         controls.txtOutputData, controls.butExit, controls.chkEnableCSVFile};
    for (std::size_t i = 1; i < controls.tabOrder.size(); ++i) {
        QWidget::setTabOrder(controls.tabOrder[i - 1], controls.tabOrder[i]);
    }
    return controls;
}

}  // namespace ao07::ui
