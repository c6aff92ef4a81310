#include "decoder/channel_table.h"

namespace ao07 {
namespace {

using K = EquationKind;

// The fixed calibration of the AO-07 beacon. The CSV fields are the file's fixed column names,
// apostrophes included; files already written and the spreadsheets reading them rely on them.
constexpr std::array<ChannelInfo, kChannelCount> kChannels{{
    {1,
     "Total Solar Array Current (ma)",
     "Total Solar Array Current:",
     "A",
     "mA",
     {K::Scaled, 29.5}},
    {2, "'+X Solar Panel Current (ma)", "+X Solar Panel Current:", "A", "A", {K::PanelCurrent}},
    {3, "'-X Solar Panel Current (ma)", "-X Solar Panel Current:", "A", "A", {K::PanelCurrent}},
    {4, "'+Y Solar Panel Current (ma)", "+Y Solar Panel Current:", "A", "A", {K::PanelCurrent}},
    {5,
     "'-Y Solar Panel Current (ma)",
     "-Y Solar Panel Current:",
     "A",
     "A",
     {K::ScaledMilli, 29.5}},
    {6, "RF Power Out 70/2 (W)", "RF Power Out 70cm/2m:", "W", "W", {K::PowerFromLoss, 0.01, 8}},
    {7, "24-Hr. Clock Time (mins)", "24-Hr. Clock Time:", "min", "min", {K::Scaled, 15.16}},
    {8,
     "Battery +Chg/-Dischg Current (ma)",
     "Battery Chg/Dischg Current:",
     "A",
     "A",
     {K::BatteryCurrent}},
    {9, "Battery Voltage (V)", "Battery Voltage:", "V", "V", {K::ScaledPlus, 0.1, 6.4}},
    {10, "Half-Battery Voltage (V)", "Half-Battery Voltage:", "V", "V", {K::Scaled, 0.1}},
    {11, "Battery Charge Regulator #1 (V)", "Battery Charge Reg. #1:", "V", "V", {K::Scaled, 0.15}},
    {12,
     "Battery Temperature (\xB0"
     "C)",
     "Battery Temperature:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {13,
     "Baseplate Temperature (\xB0"
     "C)",
     "Baseplate Temperature:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {14,
     "PA Temperature - 2/10 Rptr (\xB0"
     "C)",
     "PA Temperature - 2/10 Rptr:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {15,
     "+X Facet Temperature (\xB0"
     "C)",
     "+X Facet Temperature:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {16,
     "'+Z Facet Temperature (\xB0"
     "C)",
     "+Z Facet Temperature:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {17,
     "PA Temperature - 70/2 Rptr (\xB0"
     "C)",
     "PA Temperature - 70/2 Rptr:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {18,
     "PA Emitter Current - 2/10 (ma)",
     "PA Emitter Current 2/10:",
     "ma",
     "mA",
     {K::Scaled, 11.67}},
    {19,
     "Modulator Temperature - 70/2 (\xB0"
     "C)",
     "Modulator Temp. - 70/2:",
     "\xB0"
     "C",
     "\xB0"
     "C",
     {K::LessScaled, 1.48, 95.8}},
    {20,
     "Inst Sw Reg Input Current (ma)",
     "Instr. Sw. Reg. Input Current:",
     "ma",
     "mA",
     {K::ScaledPlus, 0.82, 11}},
    {21,
     "RF Power Out - 2/10 (mw)",
     "RF Power Out - 2m/10m:",
     "W",
     "W",
     {K::SquaredOverMilli, 1.56}},
    {22,
     "RF Power Out - 435 (mw)",
     "RF Power Out - 435MHz:",
     "mw",
     "mW",
     {K::SquaredScaledPlus, 0.1, 35}},
    {23,
     "RF Power Out - 2304 (mw)",
     "RF Power Out - 2304MHz:",
     "mw",
     "mW",
     {K::SquaredScaled, 0.041}},
    {24,
     "Midrange Telemetry Calibration (V)",
     "Midrange Telemetry Cal.:",
     "V",
     "V",
     {K::Scaled, 0.01}},
}};

constexpr bool IndexesInOrder() {
    for (int i = 0; i < kChannelCount; ++i) {
        if (kChannels[static_cast<std::size_t>(i)].index != i + 1) {
            return false;
        }
    }
    return true;
}
static_assert(IndexesInOrder(), "the channel table must list channels 1..24 in order");

}  // namespace

const std::array<ChannelInfo, kChannelCount>& ChannelTable() {
    return kChannels;
}

const ChannelInfo& Channel(int index) {
    return kChannels.at(static_cast<std::size_t>(index - 1));
}

std::string_view CaptionName(const ChannelInfo& info) {
    std::string_view name = info.caption;
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) {
        name.remove_suffix(1);
    }
    while (!name.empty() && name.front() == ' ') {
        name.remove_prefix(1);
    }
    return name;
}

}  // namespace ao07
