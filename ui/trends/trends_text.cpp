#include "ui/trends/trends_text.h"

#include <QFileInfo>

#include "analysis/frame_checks.h"
#include "decoder/channel_table.h"
#include "decoder/decoded_text.h"
#include "decoder/frame.h"
#include "ui/windows1252.h"

namespace ao07::ui {

QString TrendChannelName(int channel) {
    return QString::fromStdString(ChannelName(channel));
}

QString TrendChannelCaption(int channel) {
    return FromWindows1252(CaptionName(Channel(channel)));
}

QString TrendChannelUnit(int channel) {
    return FromWindows1252(Channel(channel).valueUnit);
}

QString TrendValueText(double value) {
    // Every value the trends show is a channel's (a mean is a new value of the channel), and
    // has the text the main window and the CSV give it.
    return QString::fromLatin1(DecodedText(static_cast<float>(value)));
}

QString ReceptionText(Reception reception) {
    return QString::fromLatin1(ReceptionName(reception));
}

QString LogDisplayName(const std::string& path) {
    return QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
}

}  // namespace ao07::ui
