#include "ui/message_boxes.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

#include "core/program_identity.h"

namespace ao07::ui {
namespace {

/// Room in a title bar beside the caption: the window's icon and its buttons.
constexpr int kTitleBarControlsWidth = 120;

/// The window manager writes the box's caption in its title bar and cuts what does not fit;
/// a box as narrow as a short text would cut the program's title. Setting the icon rebuilds
/// the box's layout, so this comes last.
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

}  // namespace

std::unique_ptr<QMessageBox> MakePlainMessageBox(QWidget* parent, const QString& text) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok, parent);
    // Plain text keeps the blanks around the end-of-log message, which centre it in the box.
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    WidenForCaption(*box);
    return box;
}

std::unique_ptr<QMessageBox> MakeErrorMessageBox(QWidget* parent, const QString& text) {
    auto box = MakePlainMessageBox(parent, text);
    box->setIcon(QMessageBox::Warning);
    WidenForCaption(*box);
    return box;
}

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& text) {
    MakePlainMessageBox(parent, text)->exec();
}

void QtMessageBoxes::ShowError(QWidget* parent, const QString& text) {
    MakeErrorMessageBox(parent, text)->exec();
}

}  // namespace ao07::ui
