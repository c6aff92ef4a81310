#pragma once

#include <memory>

class QMessageBox;
class QString;
class QWidget;

namespace ao07::ui {

/// The window's modal messages, each with the program's title as caption and one OK button.
/// The window's tests script their own.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    /// A plain message without an icon, such as the end of the log; returns once it is closed.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;

    /// Something failed (a file that cannot be read or written); returns once it is closed.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
};

/// The toolkit's message boxes, shown modally.
class QtMessageBoxes final : public MessageBoxes {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
};

/// The box ShowMessage shows: plain text, no icon, one OK button, the program's title.
std::unique_ptr<QMessageBox> MakePlainMessageBox(QWidget* parent, const QString& text);

/// The box ShowError shows: as the plain one, with the warning icon.
std::unique_ptr<QMessageBox> MakeErrorMessageBox(QWidget* parent, const QString& text);

}  // namespace ao07::ui
