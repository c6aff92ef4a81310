#pragma once

#include <QWidget>

#include <array>
#include <vector>

#include "core/channel.h"

class QCheckBox;

namespace ao07::ui {

/// The 24 channels in six groups, row 1 to row 6 as in the main window, each with a check box,
/// its name, caption and the unit of its value.
class TrendsChannelList final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TrendsChannelList)

public:
    explicit TrendsChannelList(QWidget* parent = nullptr);

    /// The ticked channels (1..24), in index order.
    std::vector<int> Checked() const;
    /// Ticks or clears channel 1..24; emits ChannelsChanged when that changes anything.
    void SetChecked(int channel, bool on);
    /// Ticks every channel.
    void CheckAll();
    /// Channel 1..24's box.
    QCheckBox* Box(int channel) const;

signals:
    void ChannelsChanged();

private:
    std::array<QCheckBox*, kChannelCount> m_boxes{};
};

}  // namespace ao07::ui
