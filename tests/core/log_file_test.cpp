#include "core/log_file.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace ao07 {
namespace {

std::vector<std::string> ReadAll(const std::string& path) {
    LogFile log;
    EXPECT_EQ(log.Open(path), "");
    std::vector<std::string> lines;
    std::string_view line;
    while (!log.AtEnd()) {
        log.ReadLine(line);
        lines.push_back(std::string(line));
    }
    return lines;
}

TEST(LogFile, SplitsLinesAtEveryKindOfTerminator) {
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"empty file", "", {}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"last line without terminator", "a\r\nb", {"a", "b"}},
        {"lone CR", "a\rb\r", {"a", "b"}},
        {"lone LF", "a\nb\n", {"a", "b"}},
        {"mixed", "a\r\nb\nc\rd", {"a", "b", "c", "d"}},
        {"LF CR is two terminators", "a\n\rb", {"a", "", "b"}},
        {"blank lines", "\r\n\r\nx\r\n", {"", "", "x"}},
        {"single terminator", "\r\n", {""}},
        {"bytes kept as they are",
         std::string("\xB0\x80\0z", 4) + "\r\n",
         {std::string("\xB0\x80\0z", 4)}},
    };
    test::TempDir dir;
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAll(dir.Write("log.txt", c.bytes)), c.lines) << c.name;
    }
}

TEST(LogFile, KeepsCrLfTogetherAcrossItsReadBlocks) {
    // Lines long enough that CR and LF fall on either side of a block boundary somewhere.
    std::string bytes;
    std::vector<std::string> expected;
    for (int i = 0; bytes.size() < 300000; ++i) {
        expected.push_back(std::string(static_cast<std::size_t>(i % 4099), 'a' + i % 26));
        bytes += expected.back() + "\r\n";
    }
    test::TempDir dir;
    EXPECT_EQ(ReadAll(dir.Write("long.txt", bytes)), expected);
}

TEST(LogFile, KeepsOnlyTheFirstMebibyteOfAnOverlongLineAndSaysSo) {
    const std::size_t max = LogFile::kMaxLineLength;
    test::TempDir dir;
    const std::string bytes =
        std::string(max, 'a') + "bcd\r\n" + std::string(max, 'e') + "\r\nnext";
    LogFile log;
    ASSERT_EQ(log.Open(dir.Write("long.txt", bytes)), "");
    std::string_view line;
    EXPECT_TRUE(log.ReadLine(line));
    EXPECT_EQ(line, std::string(max, 'a'));  // the rest of the line is read past
    EXPECT_FALSE(log.ReadLine(line));
    EXPECT_EQ(line, std::string(max, 'e'));  // exactly at the limit: nothing is lost
    EXPECT_FALSE(log.ReadLine(line));
    EXPECT_EQ(line, "next");
    EXPECT_TRUE(log.AtEnd());
}

TEST(LogFile, ReportsWhyALogCannotBeOpened) {
    test::TempDir dir;
    LogFile log;
    EXPECT_EQ(log.Open(dir.File("missing.txt")), "No such file or directory");
    EXPECT_EQ(log.Open(dir.Path()), "Is a directory");
    EXPECT_TRUE(log.AtEnd());
}

TEST(LogFile, TakesOnlyOrdinaryFilesWhenAskedAndNeverWaitsToOpen) {
    // A named pipe without a writer would keep a blocking open waiting: the alarm ends the test
    // program instead of letting it hang.
    alarm(20);
    test::TempDir dir;
    ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
    const int listener = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(listener, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string socketPath = dir.File("socket");
    ASSERT_LT(socketPath.size(), sizeof(address.sun_path));
    socketPath.copy(address.sun_path, socketPath.size());
    ASSERT_EQ(::bind(listener, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    const std::pair<std::string, std::string> cases[] = {
        {dir.File("pipe"), "It is a named pipe, not an ordinary file"},
        {"/dev/zero", "It is a character device, not an ordinary file"},
        {socketPath, "It is a socket, not an ordinary file"},
        {dir.Path(), "Is a directory"},
        {dir.File("missing.txt"), "No such file or directory"},
    };
    LogFile log;
    for (const auto& [path, reason] : cases) {
        EXPECT_EQ(log.Open(path, LogFiles::RegularOnly), reason) << path;
    }
    ::close(listener);
    // An ordinary file reads as always, its reads no longer non-blocking.
    EXPECT_EQ(log.Open(dir.Write("log.txt", "a\r\nb"), LogFiles::RegularOnly), "");
    std::string_view line;
    ASSERT_FALSE(log.AtEnd());
    log.ReadLine(line);
    EXPECT_EQ(line, "a");
    alarm(0);
}

}  // namespace
}  // namespace ao07
