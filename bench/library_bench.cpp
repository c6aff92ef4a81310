// Timings of the library's hot paths: the text of a converted value, the number at the start of
// a field, and the step procedure over whole frames with CSV output on.

#include <benchmark/benchmark.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/number_text.h"
#include "decoder/channel_equations.h"
#include "decoder/decoded_text.h"
#include "decoder/front_panel.h"
#include "decoder/main_module.h"

namespace {

void BM_DecodedText(benchmark::State& state) {
    // Every value the 24 channels give for the raw values a log can carry (-9 to 99).
    std::vector<float> values;
    for (int channel = 1; channel <= ao07::kChannelCount; ++channel) {
        for (int raw = -9; raw <= 99; ++raw) {
            values.push_back(ao07::ConvertChannel(channel, static_cast<std::int16_t>(raw)));
        }
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ao07::DecodedText(values[i]));
        i = i + 1 == values.size() ? 0 : i + 1;
    }
}
BENCHMARK(BM_DecodedText);

void BM_ConvertChannel(benchmark::State& state) {
    int channel = 1;
    int raw = -9;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ao07::ConvertChannel(channel, static_cast<std::int16_t>(raw)));
        channel = channel == ao07::kChannelCount ? 1 : channel + 1;
        raw = raw == 99 ? -9 : raw + 1;
    }
}
BENCHMARK(BM_ConvertChannel);

void BM_LeadingNumber(benchmark::State& state) {
    // The two-character value fields of a row and the value of an ORBIT line.
    const std::string_view fields[] = {"50", "07", "99", "-9", "23514", " 1 2"};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ao07::LeadingNumber(fields[i]));
        i = i + 1 == std::size(fields) ? 0 : i + 1;
    }
}
BENCHMARK(BM_LeadingNumber);

/// A file that lives in memory only, so that the step is timed without a disk.
int MemoryFile(const char* name, const std::string& content) {
    const int fd = memfd_create(name, MFD_CLOEXEC);
    if (fd < 0 ||
        write(fd, content.data(), content.size()) != static_cast<ssize_t>(content.size())) {
        throw std::runtime_error("memfd");
    }
    return fd;
}

void Rewind(int fd) {
    if (lseek(fd, 0, SEEK_SET) != 0) {
        throw std::runtime_error("lseek");
    }
}

/// One whole frame per iteration: ten steps (three header lines, the marker, six rows), the
/// sixth row writing its record to a CSV file in memory.
void BM_StepOneFrame(benchmark::State& state) {
    std::string frame =
        "ORBIT 23514\r\nTIME 14:32\r\nDATE 08-JUL-02\r\nHI HI\r\n"
        "150 101 1x1 101\r\n205 250 299 250\r\n350 399 301 365\r\n"
        "450 465 465 465\r\n565 550 5x5 501\r\n650 650 650 650\r\n";
    constexpr int kFrames = 10000;
    std::string log;
    for (int i = 0; i < kFrames; ++i) {
        log += frame;
    }
    const int logFd = MemoryFile("log", log);
    // The CSV file in memory too, opened by name as the window opens it (which empties it).
    const int csvFd = MemoryFile("csv", "");
    const std::string csvPath = "/proc/self/fd/" + std::to_string(csvFd);

    ao07::FrontPanel panel;
    ao07::MainModule module(panel);
    const auto restart = [&] {
        Rewind(logFd);
        module.StopCsvOutput();
        module.OpenLogFromDescriptor(logFd, "log");
        if (!module.StartCsvOutput(csvPath).empty()) {
            throw std::runtime_error("CSV output");
        }
    };
    restart();
    int framesLeft = kFrames;
    for (auto _ : state) {
        if (framesLeft == 0) {
            state.PauseTiming();
            restart();
            framesLeft = kFrames;
            state.ResumeTiming();
        }
        for (int step = 0; step < 10; ++step) {
            module.AdvanceOneLine();
        }
        --framesLeft;
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(frame.size()));
    close(logFd);
    close(csvFd);
}
BENCHMARK(BM_StepOneFrame);

}  // namespace

BENCHMARK_MAIN();
