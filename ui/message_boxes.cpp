#include "ui/message_boxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>

#include "core/program_identity.h"

namespace ao07::ui {
namespace {

/// Room in a title bar beside the caption: the window's icon and its buttons.
constexpr int kTitleBarControlsWidth = 120;

/// The window manager writes the box's caption in its title bar and cuts what does not fit;
/// a box as narrow as a short text would cut the program's title. Setting the icon rebuilds
/// the box's layout, so this comes after it.
void WidenForCaption(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (grid == nullptr) {
        return;
    }
    QFont titleFont = QApplication::font();
    titleFont.setBold(true);
    const int width =
        QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + kTitleBarControlsWidth;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

std::unique_ptr<QMessageBox> MakeBox(QWidget* parent, const QString& text, QMessageBox::Icon icon) {
    auto box = std::make_unique<QMessageBox>(icon, QString::fromLatin1(kProgramTitle), text,
                                             QMessageBox::Ok, parent);
    // Plain text keeps the blanks around the end-of-log message, which centre it in the box.
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    WidenForCaption(*box);
    return box;
}

}  // namespace

std::unique_ptr<QMessageBox> MakePlainMessageBox(QWidget* parent, const QString& text) {
    auto box = MakeBox(parent, text, QMessageBox::NoIcon);
    // In the widened box the message stays in the middle, where its blanks put it.
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))) {
        label->setAlignment(Qt::AlignCenter);
    }
    return box;
}

std::unique_ptr<QMessageBox> MakeErrorMessageBox(QWidget* parent, const QString& text) {
    return MakeBox(parent, text, QMessageBox::Warning);
}

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& text) {
    MakePlainMessageBox(parent, text)->exec();
}

void QtMessageBoxes::ShowError(QWidget* parent, const QString& text) {
    MakeErrorMessageBox(parent, text)->exec();
}

}  // namespace ao07::ui
