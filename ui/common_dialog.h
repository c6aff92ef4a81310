#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ao07::ui {

class FileChooser;

/// The window's file-open dialog, CommonDialog1. It keeps the name chosen at its previous use:
/// the next question starts from it, and a cancelled question reports it unchanged (empty
/// before the first choice), so File > Open and Cancel reopen the last log from its start.
class CommonDialog {
public:
    explicit CommonDialog(FileChooser& chooser) : m_chooser(chooser) {}

    /// Takes a filter list in the form "Description|pattern|Description|pattern".
    void SetFilter(const QString& filter);

    /// Asks for a file to open, modally; a choice replaces FileName, a cancel keeps it.
    void ShowOpen(QWidget* parent);

    /// The name chosen at the latest use that was not cancelled; "" before the first choice.
    const QString& FileName() const { return m_fileName; }

private:
    FileChooser& m_chooser;
    QStringList m_nameFilters;
    QString m_fileName;
};

}  // namespace ao07::ui
