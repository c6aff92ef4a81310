#include "ui/trends/trends_text.h"

#include <QFileInfo>

#include "analysis/frame_checks.h"
#include "decoder/channel_table.h"
#include "decoder/frame.h"
#include "ui/windows1252.h"

namespace ao07::ui {

QString TrendChannelName(int channel) {
    return QString::fromStdString(ChannelName(channel));
}

QString TrendChannelCaption(int channel) {
    QString caption = FromWindows1252(Channel(channel).caption).trimmed();
    if (caption.endsWith(u':')) {
        caption.chop(1);
    }
    return caption;
}

QString TrendChannelUnit(int channel) {
    return FromWindows1252(Channel(channel).valueUnit);
}

QString TrendValueText(double value) {
    // QString::number ignores the locale: the decimal point is always ".".
    return QString::number(value, 'f', 3);
}

QString ReceptionText(Reception reception) {
    return QString::fromLatin1(ReceptionName(reception));
}

QString LogDisplayName(const std::string& path) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

}  // namespace ao07::ui
