#pragma once

#include <string>
#include <string_view>

#include "core/front_panel.h"

namespace ao07 {

/// A front panel with no window: it shows nothing, and Auto mode is always off. Front ends
/// without a window (the command-line decoder, the benchmarks) start from it and override what
/// they need.
class SilentPanel : public FrontPanel {
public:
    void ShowRawLine(std::string_view) override {}
    void ShowOrbit(std::string_view) override {}
    void ShowTime(std::string_view) override {}
    void ShowDate(std::string_view) override {}
    void ShowOutputData(std::string_view) override {}
    void ShowRawValue(int, std::string_view) override {}
    void ShowChannelText(int, std::string_view) override {}
    void UncheckCsvSwitch() override {}
    std::string AutoStopCaption() const override { return "Auto"; }
    void ClickAutoStop() override {}
    void DisableStepButtons() override {}
    void ShowEndOfFileMessage(std::string_view) override {}
    void ShowError(std::string_view) override {}
};

}  // namespace ao07
