#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace ao07::ui {

/// Asks the user for a file to open, modally. The window's tests script their own chooser.
class FileChooser {
public:
    virtual ~FileChooser() = default;

    /// Shows the question with the name filters (entries such as "Text Files (*.txt)") and
    /// `startName` preselected, or opened when it is a folder. Returns the chosen name, or nothing
    /// when the user cancelled.
    virtual std::optional<QString> ChooseFileToOpen(QWidget* parent, const QStringList& nameFilters,
                                                    const QString& startName) = 0;
};

/// The toolkit's own modal open dialog.
class QtFileChooser final : public FileChooser {
public:
    std::optional<QString> ChooseFileToOpen(QWidget* parent, const QStringList& nameFilters,
                                            const QString& startName) override;
};

}  // namespace ao07::ui
