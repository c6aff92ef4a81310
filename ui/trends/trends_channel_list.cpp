#include "ui/trends/trends_channel_list.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "ui/trends/trends_text.h"

namespace ao07::ui {

TrendsChannelList::TrendsChannelList(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("channelList"));
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(2);
    for (int row = 1; row <= kRowCount; ++row) {
        auto* group = new QGroupBox(QStringLiteral("Row %1").arg(row), this);
        group->setObjectName(QStringLiteral("channelRow%1").arg(row));
        auto* rowLayout = new QVBoxLayout(group);
        rowLayout->setContentsMargins(6, 2, 6, 2);
        rowLayout->setSpacing(0);
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const int channel = ChannelIndex(row, slot);
            auto* box =
                new QCheckBox(QStringLiteral("%1  %2 (%3)")
                                  .arg(TrendChannelName(channel), TrendChannelCaption(channel),
                                       TrendChannelUnit(channel)),
                              group);
            box->setObjectName(QStringLiteral("channel%1").arg(TrendChannelName(channel)));
            rowLayout->addWidget(box);
            connect(box, &QCheckBox::toggled, this, &TrendsChannelList::ChannelsChanged);
            m_boxes[static_cast<std::size_t>(channel - 1)] = box;
        }
        layout->addWidget(group);
    }
    layout->addStretch();
}

std::vector<int> TrendsChannelList::Checked() const {
    std::vector<int> channels;
    for (int channel = 1; channel <= kChannelCount; ++channel) {
        if (Box(channel)->isChecked()) {
            channels.push_back(channel);
        }
    }
    return channels;
}

void TrendsChannelList::SetChecked(int channel, bool on) {
    Box(channel)->setChecked(on);
}

void TrendsChannelList::CheckAll() {
    bool changed = false;
    for (QCheckBox* box : m_boxes) {
        const QSignalBlocker blocker(box);  // one redraw for all of them
        changed = changed || !box->isChecked();
        box->setChecked(true);
    }
    if (changed) {
        emit ChannelsChanged();
    }
}

QCheckBox* TrendsChannelList::Box(int channel) const {
    return m_boxes.at(static_cast<std::size_t>(channel - 1));
}

}  // namespace ao07::ui
