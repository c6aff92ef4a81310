#pragma once

#include <string>
#include <string_view>

#include "core/front_panel.h"

namespace bench {

/// A front panel that shows nothing, so that a benchmark times the library alone.
class NullPanel final : public ao07::FrontPanel {
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

}  // namespace bench
