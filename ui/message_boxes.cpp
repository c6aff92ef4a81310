#include "ui/message_boxes.h"

#include <QMessageBox>

#include "core/program_identity.h"

namespace ao07::ui {

std::unique_ptr<QMessageBox> MakePlainMessageBox(QWidget* parent, const QString& text) {
    auto box = std::make_unique<QMessageBox>(
        QMessageBox::NoIcon, QString::fromLatin1(kProgramTitle), text, QMessageBox::Ok, parent);
    // Plain text keeps the blanks around the end-of-log message, which centre it in the box.
    box->setTextFormat(Qt::PlainText);
    box->setWindowModality(Qt::ApplicationModal);
    return box;
}

std::unique_ptr<QMessageBox> MakeErrorMessageBox(QWidget* parent, const QString& text) {
    auto box = MakePlainMessageBox(parent, text);
    box->setIcon(QMessageBox::Warning);
    return box;
}

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& text) {
    MakePlainMessageBox(parent, text)->exec();
}

void QtMessageBoxes::ShowError(QWidget* parent, const QString& text) {
    MakeErrorMessageBox(parent, text)->exec();
}

}  // namespace ao07::ui
