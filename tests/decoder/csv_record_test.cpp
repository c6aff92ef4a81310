#include "decoder/csv_record.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "decoder/run_state.h"

namespace ao07 {
namespace {

TEST(CsvHeader, IsTheFixedColumnLineInWindows1252) {
    const std::string expected =
        "Date,Time,Orbit#,Total Solar Array Current (ma),'+X Solar Panel Current (ma),'-X Solar "
        "Panel Current (ma),'+Y Solar Panel Current (ma),'-Y Solar Panel Current (ma),RF Power "
        "Out 70/2 (W),24-Hr. Clock Time (mins),Battery +Chg/-Dischg Current (ma),Battery Voltage "
        "(V),Half-Battery Voltage (V),Battery Charge Regulator #1 (V),Battery Temperature "
        "(\xB0"
        "C),Baseplate Temperature (\xB0"
        "C),PA Temperature - 2/10 Rptr (\xB0"
        "C),+X "
        "Facet Temperature (\xB0"
        "C),'+Z Facet Temperature (\xB0"
        "C),PA Temperature - 70/2 "
        "Rptr (\xB0"
        "C),PA Emitter Current - 2/10 (ma),Modulator Temperature - 70/2 "
        "(\xB0"
        "C),Inst Sw Reg Input Current (ma),RF Power Out - 2/10 (mw),RF Power Out - 435 "
        "(mw),RF Power Out - 2304 (mw),Midrange Telemetry Calibration (V)";
    EXPECT_EQ(CsvHeader(), expected);
    EXPECT_EQ(CsvHeader().size(), 695u);
    EXPECT_EQ(std::count(CsvHeader().begin(), CsvHeader().end(), ','), 26);
}

TEST(AssembleRecord, TrimsDateAndTimeAndJoinsTheSixFragments) {
    RunState state;
    std::string record = "old text";
    AssembleRecord(state, record);
    EXPECT_EQ(record, ",,0,,,,,,");  // nothing read yet
    state.DateText = "  08-JUL-02 ";
    state.TimeText = " \t14:32";
    state.OrbitNumber = -5;
    state.RowCsv[6] = "a,b,c,d";
    AssembleRecord(state, record);
    EXPECT_EQ(record, "08-JUL-02,\t14:32,-5,,,,,,a,b,c,d");
}

}  // namespace
}  // namespace ao07
