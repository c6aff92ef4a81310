#include "ui/file_chooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace ao07::ui {

std::optional<QString> QtFileChooser::ChooseFileToOpen(QWidget* parent,
                                                       const QStringList& nameFilters,
                                                       const QString& startName) {
    QFileDialog dialog(parent);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters(nameFilters);
    if (QFileInfo(startName).isDir()) {
        dialog.setDirectory(startName);
    } else if (!startName.isEmpty()) {
        dialog.selectFile(startName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return std::nullopt;
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace ao07::ui
