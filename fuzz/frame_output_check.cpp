#include "fuzz/frame_output_check.h"

#include <sys/mman.h>
#include <unistd.h>

#include <array>
#include <nlohmann/json.hpp>
#include <string_view>
#include <vector>

#include "cli/json_lines.h"
#include "core/output_file.h"
#include "decoder/csv_record.h"
#include "decoder/frame.h"
#include "decoder/frame_stream.h"

namespace ao07::fuzz {
namespace {

std::vector<std::string_view> Fields(std::string_view record) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const std::size_t comma = record.find(',', start);
        fields.push_back(record.substr(start, comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

/// Checks the frame's JSON object, which is appended to `line`.
std::string CheckJson(const Frame& frame, std::string& line) {
    const std::size_t start = line.size();
    tool::AppendFrameJson(line, "fuzz log", frame);
    const std::string_view objectLine = std::string_view(line).substr(start);
    if (objectLine.empty() || objectLine.back() != '\n' ||
        objectLine.find('\n') != objectLine.size() - 1) {
        return "a JSON object is not one line";
    }
    const nlohmann::json object = nlohmann::json::parse(objectLine, nullptr, false);
    if (object.is_discarded()) {
        return "not JSON: " + std::string(objectLine);
    }
    if (object["frame"] != frame.number || object["line"] != frame.lineNumber ||
        object["channels"].size() != kChannelCount) {
        return "the JSON object does not carry the frame: " + std::string(objectLine);
    }
    return {};
}

/// What was written to the descriptor, from its start.
std::string Contents(int fd) {
    std::string contents;
    char block[4096];
    ssize_t count = 0;
    for (off_t at = 0; (count = ::pread(fd, block, sizeof block, at)) > 0; at += count) {
        contents.append(block, static_cast<std::size_t>(count));
    }
    return contents;
}

/// `decodedInLog[row - 1]`: the row was decoded in this log before or in this frame, so the
/// default record has its four fields; a row never decoded has one empty field there.
std::string CheckGaps(const Frame& frame, const std::array<bool, kRowCount>& decodedInLog) {
    std::string gaps;
    AssembleRecordWithGaps(frame, gaps);
    const std::vector<std::string_view> gapFields = Fields(gaps);
    const std::vector<std::string_view> plainFields = Fields(frame.record);
    if (gapFields.size() < 3 + kChannelCount) {
        return "a --gaps record with fewer than 27 fields: " + gaps;
    }
    // Date and time may hold commas: they are what comes before the 24 channels and the orbit.
    const std::size_t start = gapFields.size() - kChannelCount;
    std::size_t at = start;  // the default record's field of the channel
    for (int row = 1; row <= kRowCount; ++row) {
        for (int slot = 1; slot <= kSlotCount; ++slot) {
            const int channel = ChannelIndex(row, slot);
            const ChannelReading& reading = frame.Channel(channel);
            const std::string_view gap = gapFields[start + static_cast<std::size_t>(channel) - 1];
            if (reading.reception != Reception::Copied) {
                if (!gap.empty()) {
                    return "a channel not copied has a --gaps field: " + gaps;
                }
            } else if (at >= plainFields.size() || gap != plainFields[at] || gap != reading.text) {
                return "a copied channel's --gaps field differs: " + gaps + " / " + frame.record;
            }
            if (decodedInLog[static_cast<std::size_t>(row - 1)] || slot == 1) {
                ++at;
            }
        }
    }
    if (at != plainFields.size()) {
        return "the default record has other fields: " + frame.record;
    }
    const auto prefix = [](std::string_view record, std::size_t fields) {
        std::size_t end = 0;
        for (std::size_t i = 0; i < fields; ++i) {
            end = record.find(',', end) + 1;
        }
        return record.substr(0, end);
    };
    if (prefix(gaps, start) != prefix(frame.record, start)) {
        return "date, time or orbit differ: " + gaps + " / " + frame.record;
    }
    return {};
}

}  // namespace

std::string CheckFrameOutputs(const std::uint8_t* data, std::size_t size) {
    const int fd = ::memfd_create("fuzz log", MFD_CLOEXEC);
    if (fd < 0) {
        return "memfd_create failed";
    }
    if (size > 0 && ::write(fd, data, size) != static_cast<ssize_t>(size)) {
        ::close(fd);
        return "the log could not be written to memory";
    }
    ::lseek(fd, 0, SEEK_SET);
    // ao07-decode's JSON Lines output keeps each channel's object once made: it must be what
    // the frames' objects made afresh are.
    const int jsonFd = ::memfd_create("fuzz json", MFD_CLOEXEC);
    if (jsonFd < 0) {
        ::close(fd);
        return "memfd_create failed";
    }
    std::string failure;
    std::string expectedJson;
    {
        FrameStream stream;
        stream.Attach(fd, "fuzz log");
        OutputFile json;
        json.Attach(jsonFd);
        json.SetBatched(true);
        tool::JsonLines sink;
        std::array<bool, kRowCount> decodedInLog{};
        while (const Frame* frame = stream.Next()) {
            for (int row = 1; row <= kRowCount; ++row) {
                decodedInLog[static_cast<std::size_t>(row - 1)] |=
                    frame->Channel(ChannelIndex(row, 1)).reception != Reception::Missing;
            }
            failure = CheckJson(*frame, expectedJson);
            if (failure.empty()) {
                failure = CheckGaps(*frame, decodedInLog);
            }
            if (failure.empty()) {
                failure = sink.Take(json, "fuzz log", *frame);
            }
            if (!failure.empty()) {
                break;
            }
        }
        if (const std::string error = json.Close(); failure.empty() && !error.empty()) {
            failure = error;
        }
    }
    if (failure.empty() && Contents(jsonFd) != expectedJson) {
        failure = "JSON Lines output differs from the frames' objects made afresh";
    }
    ::close(jsonFd);
    ::close(fd);
    return failure;
}

}  // namespace ao07::fuzz
