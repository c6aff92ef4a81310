#pragma once

#include <QPlainTextEdit>
#include <QString>
#include <QStringList>

#include <vector>

class QTextBlock;

namespace ao07::ui {

class DecodedColumn;

/// A digit of a line the machine copied, with the probability that the engine gave it.
struct HeardDigit {
    int column = 0;         ///< position in the line, from 0
    double confidence = 0;  ///< 0..1
    bool doubtful = false;  ///< written as not copied ('x')
};

/// The copy pad: the log as it is being made. The machine's lines come in whole; the operator
/// types or corrects any line. Each line is checked as the reader will take it: a line meant
/// as a row without a row's shape is underlined with the reason, each row shows its four values
/// decoded beside it, and each digit the machine doubted is highlighted with its confidence.
/// Every line but the last is complete; the last is the one being typed.
class CopyPad final : public QPlainTextEdit {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CopyPad)

public:
    explicit CopyPad(QWidget* parent = nullptr);
    ~CopyPad() override;

    /// Adds a line the machine completed, before the line being typed, with its digits' marks.
    void AddHeardLine(const QString& line, const std::vector<HeardDigit>& digits = {});

    /// The complete lines, the last one being typed left out.
    QStringList CompleteLines() const;

    /// Why line `line` (from 0) lacks a row's shape, or "" when it has it or is not meant as one.
    QString ShapeProblem(int line) const;

    /// The four decoded values shown beside line `line` (from 0), or "" for a line that is not
    /// a complete row.
    QString DecodedText(int line) const;

    /// What the tooltip says at character `column` of line `line`: the shape problem, a doubtful
    /// digit's confidence, or "".
    QString ToolTipAt(int line, int column) const;

    /// Room for the decoded values beside the lines.
    int DecodedColumnWidth() const;

signals:
    /// The complete lines changed: a line was completed, added, edited or removed.
    void completeLinesChanged();
    /// A row was completed, with the spoken text of its values.
    void rowCompleted(const QString& spoken);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool viewportEvent(QEvent* event) override;

private:
    friend class DecodedColumn;
    void onContentsChange(int position, int removed, int added);
    void UpdateMarks();
    void PaintDecoded(QPaintEvent* event);

    DecodedColumn* m_decoded = nullptr;
    QStringList m_lastComplete;
};

}  // namespace ao07::ui
