#include "ui/listen/copy_pad.h"

#include <QFontDatabase>
#include <QHelpEvent>
#include <QPainter>
#include <QTextBlock>
#include <QToolTip>

#include <algorithm>
#include <utility>

#include "core/channel.h"
#include "decoder/row_values.h"
#include "reader/row_shape.h"
#include "ui/listen/decoded_column.h"
#include "ui/windows1252.h"

namespace ao07::ui {
namespace {

// The room of the decoded values, in characters: four channels with their values and units.
constexpr int kDecodedCharacters = 64;

/// What the machine heard on a line, kept with the line while the operator edits it: a mark
/// holds where the character is still the one heard.
struct HeardMarks final : QTextBlockUserData {
    QString heard;
    std::vector<HeardDigit> digits;
};

const HeardMarks* MarksOf(const QTextBlock& block) {
    return dynamic_cast<const HeardMarks*>(block.userData());
}

/// The digit heard at `column` that the line still holds, or nothing.
const HeardDigit* HeardAt(const QTextBlock& block, int column) {
    const HeardMarks* marks = MarksOf(block);
    if (marks == nullptr || column >= block.text().size() || column >= marks->heard.size() ||
        block.text().at(column) != marks->heard.at(column)) {
        return nullptr;
    }
    const auto found = std::find_if(marks->digits.begin(), marks->digits.end(),
                                    [column](const HeardDigit& d) { return d.column == column; });
    return found == marks->digits.end() ? nullptr : &*found;
}

QString Percent(double confidence) {
    return QString::number(confidence * 100.0, 'f', 1) + QStringLiteral(" %");
}

struct DecodedRow {
    QString shown;   ///< for the column beside the line
    QString spoken;  ///< for an announcement
};

DecodedRow DecodeLine(const QString& line) {
    const QByteArray bytes = line.toLatin1();
    const std::string_view text(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    if (!RowShapeProblem(text).empty()) {
        return {};
    }
    const auto values = DecodeRowLine(text);
    if (!values) {
        return {};
    }
    QStringList shown;
    QStringList spoken;
    for (const RowValue& value : *values) {
        const QString name = QString::fromStdString(ChannelName(value.channel));
        const QString said =
            value.reception == Reception::Copied
                ? FromWindows1252(value.text) + QLatin1Char(' ') + FromWindows1252(value.unit)
                : CopyPad::tr("not copied");
        shown << name + QLatin1Char(' ') + said;
        spoken << name + QLatin1Char(' ') + said.trimmed();
    }
    return {
        shown.join(QStringLiteral("  ")),
        CopyPad::tr("Row %1: %2").arg(line.trimmed().at(0)).arg(spoken.join(QStringLiteral(", ")))};
}

}  // namespace

CopyPad::CopyPad(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName(QStringLiteral("copyPad"));
    setAccessibleName(tr("Copy pad"));
    setAccessibleDescription(
        tr("The log being made, one line at a time. Type or correct any line; a row's decoded "
           "values are shown beside it."));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // Tab moves on to the next control, so that the window works from the keyboard alone.
    setTabChangesFocus(true);
    m_decoded = new DecodedColumn(this);
    setViewportMargins(0, 0, DecodedColumnWidth(), 0);
    connect(document(), &QTextDocument::contentsChange, this, &CopyPad::onContentsChange);
    connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
        if (dy != 0) {
            m_decoded->scroll(0, dy);
        } else {
            m_decoded->update(0, rect.y(), m_decoded->width(), rect.height());
        }
    });
}

CopyPad::~CopyPad() = default;

int CopyPad::DecodedColumnWidth() const {
    return fontMetrics().horizontalAdvance(QLatin1Char('0')) * kDecodedCharacters;
}

void CopyPad::AddHeardLine(const QString& line, const std::vector<HeardDigit>& digits) {
    QTextCursor cursor(document()->lastBlock());
    cursor.movePosition(QTextCursor::StartOfBlock);
    cursor.beginEditBlock();
    cursor.insertText(line + QLatin1Char('\n'));
    auto* marks = new HeardMarks;
    marks->heard = line;
    marks->digits = digits;
    document()->lastBlock().previous().setUserData(marks);
    cursor.endEditBlock();
    UpdateMarks();
}

QStringList CopyPad::CompleteLines() const {
    QStringList lines;
    for (QTextBlock block = document()->firstBlock(); block.isValid() && block.next().isValid();
         block = block.next()) {
        lines << block.text();
    }
    return lines;
}

QString CopyPad::ShapeProblem(int line) const {
    const QByteArray bytes = document()->findBlockByNumber(line).text().toLatin1();
    return QString::fromStdString(RowShapeProblem(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
}

QString CopyPad::DecodedText(int line) const {
    const QTextBlock block = document()->findBlockByNumber(line);
    return block.isValid() ? DecodeLine(block.text()).shown : QString();
}

QString CopyPad::ToolTipAt(int line, int column) const {
    const QTextBlock block = document()->findBlockByNumber(line);
    if (!block.isValid()) {
        return {};
    }
    if (const HeardDigit* digit = HeardAt(block, column)) {
        return digit->doubtful ? tr("Not heard with confidence: %1").arg(Percent(digit->confidence))
                               : tr("Heard with %1 confidence").arg(Percent(digit->confidence));
    }
    return ShapeProblem(line);
}

void CopyPad::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    const QRect area = contentsRect();
    m_decoded->setGeometry(area.right() - DecodedColumnWidth() + 1, area.top(),
                           DecodedColumnWidth(), area.height());
}

bool CopyPad::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QTextCursor cursor = cursorForPosition(help->pos());
        const QString tip = ToolTipAt(cursor.blockNumber(), cursor.positionInBlock());
        if (tip.isEmpty()) {
            QToolTip::hideText();
        } else {
            QToolTip::showText(help->globalPos(), tip, viewport());
        }
        return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

void CopyPad::onContentsChange(int /*position*/, int /*removed*/, int /*added*/) {
    UpdateMarks();
    const QStringList complete = CompleteLines();
    if (complete == m_lastComplete) {
        return;
    }
    // Only the lines between those the same before and after the change are new: a row that
    // moved because a line was put in or taken out above it is not said again.
    qsizetype first = 0;
    while (first < complete.size() && first < m_lastComplete.size() &&
           complete.at(first) == m_lastComplete.at(first)) {
        ++first;
    }
    qsizetype end = complete.size();
    for (qsizetype before = m_lastComplete.size();
         end > first && before > first && complete.at(end - 1) == m_lastComplete.at(before - 1);
         --before) {
        --end;
    }
    for (qsizetype line = first; line < end; ++line) {
        const DecodedRow decoded = DecodeLine(complete.at(line));
        if (!decoded.spoken.isEmpty()) {
            emit rowCompleted(decoded.spoken);
        }
    }
    m_lastComplete = complete;
    emit completeLinesChanged();
}

void CopyPad::UpdateMarks() {
    QList<QTextEdit::ExtraSelection> selections;
    QTextCharFormat shape;
    shape.setUnderlineStyle(QTextCharFormat::WaveUnderline);
    shape.setUnderlineColor(Qt::red);
    QTextCharFormat doubtful;
    doubtful.setBackground(QColor(255, 214, 102));
    doubtful.setForeground(Qt::black);
    for (QTextBlock block = document()->firstBlock(); block.isValid(); block = block.next()) {
        if (!ShapeProblem(block.blockNumber()).isEmpty()) {
            QTextCursor cursor(block);
            cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
            selections.append({cursor, shape});
        }
        if (const HeardMarks* marks = MarksOf(block)) {
            for (const HeardDigit& digit : marks->digits) {
                if (digit.doubtful && HeardAt(block, digit.column) != nullptr) {
                    QTextCursor cursor(block);
                    cursor.setPosition(block.position() + digit.column);
                    cursor.setPosition(block.position() + digit.column + 1,
                                       QTextCursor::KeepAnchor);
                    selections.append({cursor, doubtful});
                }
            }
        }
    }
    setExtraSelections(selections);
    m_decoded->update();
}

void CopyPad::PaintDecoded(QPaintEvent* /*event*/) {
    QPainter painter(m_decoded);
    painter.fillRect(m_decoded->rect(), palette().alternateBase());
    painter.setPen(palette().color(QPalette::Text));
    painter.setFont(font());
    QTextBlock block = firstVisibleBlock();
    int top = qRound(blockBoundingGeometry(block).translated(contentOffset()).top());
    const int margin = fontMetrics().horizontalAdvance(QLatin1Char(' '));
    while (block.isValid() && top <= m_decoded->height()) {
        const int height = qRound(blockBoundingRect(block).height());
        if (block.isVisible() && block.next().isValid()) {
            const QString text = DecodedText(block.blockNumber());
            if (!text.isEmpty()) {
                painter.drawText(margin, top, m_decoded->width() - margin, height,
                                 Qt::AlignLeft | Qt::AlignVCenter, text);
            }
        }
        top += height;
        block = block.next();
    }
}

}  // namespace ao07::ui
