#include "cli/decode_process.h"

namespace ao07::test {

Outcome Decode(const TempDir& dir, const std::string& args, const std::string& input) {
    return RunProgram(AO07_DECODE_PATH, dir, args, input);
}

const std::string kFrame =
    "ORBIT 12345\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n150 150 150 150\r\n"
    "250 250 250 250\r\n350 350 350 350\r\n450 450 450 450\r\n550 550 550 550\r\n"
    "650 650 650 650\r\n";
const std::string kRecord =
    "08-JUL-02,14:32,12345,1475.000,0.970,0.970,0.970,1.475,2.000,758.000,0.000,11.400,5.000,"
    "7.500,21.800,21.800,21.800,21.800,21.800,21.800,583.500,21.800,52.000,1.603,285.000,102.500,"
    "0.500\r\n";

}  // namespace ao07::test
