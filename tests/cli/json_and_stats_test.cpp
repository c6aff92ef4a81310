// ao07-decode --format jsonl and --stats, read back with a real JSON parser.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cli/decode_process.h"
#include "support/temp_dir.h"

namespace ao07::test {
namespace {

using nlohmann::json;

std::vector<json> JsonLines(const std::string& text) {
    std::vector<json> objects;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        objects.push_back(json::parse(line));  // throws on anything that is not JSON
    }
    return objects;
}

TEST(JsonLinesOutput, CarriesEveryFrameAsValidUtf8JsonWhateverTheDateHolds) {
    TempDir dir;
    // Windows-1252 bytes above 0x7F (degree sign, euro sign, an undefined byte), a quote, a
    // backslash and control characters in the date and time.
    const std::string date = "08-JUL-02 \xB0\x80\x81 \"q\" back\\slash\x01\x7F";
    dir.Write("log.txt", "ORBIT 12345\r\nTIME \t14:32\r\nDATE " + date + "\r\nHI HI\r\n" +
                             "150 1x0 150 150\r\n250 250 250 250\r\n350 350 350 350\r\n"
                             "450 450 450 450\r\n650 650 650 652\r\n");
    const Outcome run = Decode(dir, "--format jsonl log.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> frames = JsonLines(run.out);
    ASSERT_EQ(frames.size(), 1u);
    const json& frame = frames[0];
    EXPECT_EQ(frame["log"], "log.txt");
    EXPECT_EQ(frame["frame"], 1);
    EXPECT_EQ(frame["line"], 9);
    EXPECT_EQ(frame["date"], "08-JUL-02 \u00B0\u20AC\u0081 \"q\" back\\slash\u0001\u007F");
    EXPECT_EQ(frame["time"], "\t14:32");
    EXPECT_EQ(frame["orbit"], 12345);
    EXPECT_EQ(frame["calibration"], "doubtful");
    ASSERT_EQ(frame["channels"].size(), 24u);
    struct Expected {
        int index;
        const char* id;
        int raw;
        double value;
        const char* unit;
        const char* text;
        const char* reception;
    };
    const Expected channels[] = {
        {0, "1A", 50, 1475.0, "mA", "1475.000", "copied"},
        {1, "1B", 0, 1.97, "A", "1.970", "not copied"},
        {11, "3D", 50, 21.8, "\u00B0C", "21.800", "copied"},
        {16, "5A", 0, 0, "\u00B0C", "", "missing"},
        {23, "6D", 52, 0.52, "V", "0.520", "copied"},
    };
    for (const Expected& e : channels) {
        const json& channel = frame["channels"][static_cast<std::size_t>(e.index)];
        EXPECT_EQ(channel["id"], e.id);
        EXPECT_EQ(channel["raw"], e.raw) << e.id;
        EXPECT_FLOAT_EQ(channel["value"].get<float>(), static_cast<float>(e.value)) << e.id;
        EXPECT_EQ(channel["unit"], e.unit) << e.id;
        EXPECT_EQ(channel["text"], e.text) << e.id;
        EXPECT_EQ(channel["reception"], e.reception) << e.id;
    }
}

TEST(Stats, CountsEveryChannelAndAveragesOnlyCopiedValues) {
    TempDir dir;
    // 2B (RF power, W) copied as 50 (2.000) and 0 (8.000), not copied once; row 5 missing in
    // the first frame; 6D never copied.
    dir.Write("a.txt", "HI HI\r\n250 250 250 250\r\n650 650 650 6x0\r\n");
    dir.Write("b.txt",
              "250 200 250 250\r\n550 550 550 550\r\n650 650 650 6?0\r\n"
              "250 2x0 250 250\r\n650 650 650 6#0\r\n");
    const Outcome run = Decode(dir, "--stats --format jsonl a.txt b.txt");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<json> stats = JsonLines(run.out);
    ASSERT_EQ(stats.size(), 24u);
    const json& power = stats[5];
    EXPECT_EQ(power["id"], "2B");
    EXPECT_EQ(power["caption"], "RF Power Out 70cm/2m");
    EXPECT_EQ(power["unit"], "W");
    EXPECT_EQ(power["frames"], 3);
    EXPECT_EQ(power["copied"], 2);
    EXPECT_EQ(power["not_copied"], 1);
    EXPECT_EQ(power["missing"], 0);
    EXPECT_DOUBLE_EQ(power["minimum"].get<double>(), 2.0);
    EXPECT_DOUBLE_EQ(power["maximum"].get<double>(), 8.0);
    EXPECT_DOUBLE_EQ(power["mean"].get<double>(), 5.0);
    EXPECT_DOUBLE_EQ(power["last"].get<double>(), 8.0);
    const json& temperature = stats[16];  // 5A, copied once as 50: 21.8 degrees
    EXPECT_EQ(temperature["unit"], "\u00B0C");
    EXPECT_EQ(temperature["copied"], 1);
    EXPECT_EQ(temperature["missing"], 2);
    EXPECT_DOUBLE_EQ(temperature["mean"].get<double>(), 21.8);
    const json& calibration = stats[23];
    EXPECT_EQ(calibration["copied"], 0);
    EXPECT_EQ(calibration["not_copied"], 3);
    EXPECT_TRUE(calibration["minimum"].is_null());
    EXPECT_TRUE(calibration["mean"].is_null());

    // The table says the same for a terminal.
    const Outcome table = Decode(dir, "--stats a.txt b.txt");
    ASSERT_EQ(table.status, 0) << table.err;
    EXPECT_NE(table.out.find("\n2B       RF Power Out 70cm/2m           W          3       2  "
                             "         1        0    2.000    8.000    5.000    8.000\n"),
              std::string::npos)
        << table.out;
}

}  // namespace
}  // namespace ao07::test
