#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace ao07::ui {

class FileChooser;

/// The window's file-open dialog, m_openDialog. It keeps the name chosen at its previous use:
/// the next question starts from it, and a cancelled question reports it unchanged (empty
/// before the first choice), so File > Open and Cancel reopen the last log from its start.
class OpenFileDialog {
public:
    explicit OpenFileDialog(FileChooser& chooser) : m_chooser(chooser) {}

    /// Takes a filter list in the form "Description|pattern|Description|pattern".
    void SetFilter(const QString& filter);

    /// Asks for a file to open, modally; a choice replaces FileName, a cancel keeps it.
    void ShowOpen(QWidget* parent);

    /// The name chosen at the latest use that was not cancelled; "" before the first choice.
    const QString& FileName() const { return m_fileName; }

    /// Takes `name` as if it had been chosen: the next question starts from it.
    void SetFileName(const QString& name) { m_fileName = name; }

    /// The folder the first question starts in while no name has been chosen yet.
    void SetInitDir(const QString& folder) { m_initDir = folder; }

private:
    FileChooser& m_chooser;
    QStringList m_nameFilters;
    QString m_fileName;
    QString m_initDir;
};

}  // namespace ao07::ui
