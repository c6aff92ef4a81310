#pragma once

#include <QString>
#include <QStringList>

#include <deque>
#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "ui/file_chooser.h"
#include "ui/message_boxes.h"

/// Shows a QString as its text when a window test fails.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace ao07::test {

/// Stands in for the user at the file dialog: answers from a queue, cancels when it is empty.
class ScriptedChooser final : public ui::FileChooser {
public:
    std::deque<QString> answers;
    int questions = 0;
    QStringList lastFilters;
    QString lastStartName;
    /// Runs while the dialog is "open", before it answers.
    std::function<void()> whileOpen;

    std::optional<QString> ChooseFileToOpen(QWidget*, const QStringList& nameFilters,
                                            const QString& startName) override {
        ++questions;
        lastFilters = nameFilters;
        lastStartName = startName;
        if (whileOpen) {
            whileOpen();
        }
        if (answers.empty()) {
            return std::nullopt;
        }
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

/// Stands in for the user at the message boxes: records each one and closes it at once.
class ScriptedBoxes final : public ui::MessageBoxes {
public:
    struct Shown {
        bool error;
        QString text;
    };
    std::vector<Shown> shown;
    /// Runs while a box is "open".
    std::function<void(const Shown&)> whileOpen;

    void ShowMessage(QWidget*, const QString& text) override { Record({false, text}); }
    void ShowError(QWidget*, const QString& text) override { Record({true, text}); }

    std::vector<QString> Errors() const {
        std::vector<QString> errors;
        for (const Shown& box : shown) {
            if (box.error) {
                errors.push_back(box.text);
            }
        }
        return errors;
    }

private:
    void Record(const Shown& box) {
        shown.push_back(box);
        if (whileOpen) {
            whileOpen(box);
        }
    }
};

}  // namespace ao07::test
