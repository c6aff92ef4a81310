#include "ui/listen/log_keeping.h"

#include <QFile>

#include <string>
#include <vector>

#include "core/kept_log.h"

namespace ao07::ui {
namespace {

// The log is the bytes of its characters in the log's character set; a character outside it
// could not be read back by any front end, and comes out as '?'.
std::string Bytes(const QString& line) {
    return line.toLatin1().toStdString();
}

std::vector<std::string> AllBytes(const QStringList& lines) {
    std::vector<std::string> bytes;
    bytes.reserve(static_cast<std::size_t>(lines.size()));
    for (const QString& line : lines) {
        bytes.push_back(Bytes(line));
    }
    return bytes;
}

}  // namespace

LogKeeping::LogKeeping(QObject* parent) : QObject(parent), m_log(std::make_unique<KeptLog>()) {}

LogKeeping::~LogKeeping() = default;

bool LogKeeping::Start(const QString& path, const QStringList& lines) {
    if (!Report(m_log->Start(QFile::encodeName(path).toStdString(), AllBytes(lines)))) {
        return false;
    }
    m_onDisk = lines;
    return true;
}

bool LogKeeping::Keep(const QStringList& lines) {
    if (!m_log->IsKept() || lines == m_onDisk) {
        return true;
    }
    const bool onlyAdded = lines.size() > m_onDisk.size() &&
                           std::equal(m_onDisk.begin(), m_onDisk.end(), lines.begin());
    if (!onlyAdded) {
        if (!Report(m_log->Rewrite(AllBytes(lines)))) {
            return false;
        }
        m_onDisk = lines;
        return true;
    }
    for (qsizetype line = m_onDisk.size(); line < lines.size(); ++line) {
        if (!Report(m_log->Append(Bytes(lines.at(line))))) {
            return false;
        }
        m_onDisk.append(lines.at(line));
    }
    return true;
}

void LogKeeping::Stop() {
    Report(m_log->Close());
    m_onDisk.clear();
}

QString LogKeeping::Path() const {
    return QFile::decodeName(QByteArray::fromStdString(m_log->Path()));
}

bool LogKeeping::Report(const std::string& error) {
    if (!error.empty()) {
        m_upToDate = false;
        emit writeFailed(QString::fromStdString(error));
        return false;
    }
    if (!m_upToDate) {
        m_upToDate = true;
        emit writeRecovered();
    }
    return true;
}

}  // namespace ao07::ui
