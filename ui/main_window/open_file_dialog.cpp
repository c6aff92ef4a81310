#include "ui/main_window/open_file_dialog.h"

#include "ui/file_chooser.h"

namespace ao07::ui {
namespace {

// A filter of "*.*" is meant as every file; here that is "*", since "*.*" would hide names
// without a dot.
QString ChooserPatterns(const QString& patterns) {
    QStringList result;
    for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts)) {
        result.append(pattern.trimmed() == QLatin1String("*.*") ? QStringLiteral("*")
                                                                : pattern.trimmed());
    }
    return result.join(u' ');
}

}  // namespace

void OpenFileDialog::SetFilter(const QString& filter) {
    m_nameFilters.clear();
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = ChooserPatterns(parts[i + 1]);
        // The chooser takes the patterns from the last parentheses of an entry; a description
        // that already ends with exactly those patterns is shown as it is.
        const QString suffix = QStringLiteral("(") + patterns + QStringLiteral(")");
        m_nameFilters.append(description.endsWith(suffix)
                                 ? description
                                 : description + QStringLiteral(" ") + suffix);
    }
}

void OpenFileDialog::ShowOpen(QWidget* parent) {
    const QString& start = m_fileName.isEmpty() ? m_initDir : m_fileName;
    if (const auto chosen = m_chooser.ChooseFileToOpen(parent, m_nameFilters, start)) {
        m_fileName = *chosen;
    }
}

}  // namespace ao07::ui
