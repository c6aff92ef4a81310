#pragma once

#include <string>
#include <string_view>

namespace ao07 {

struct Frame;
struct RunState;

/// The CSV output file, in the current working directory.
inline constexpr const char* kCsvFileName = "ao-07.csv";

/// The first line of the CSV file: "Date,Time,Orbit#" and the 24 channels' column names, in
/// Windows-1252 (the degree sign is the byte 0xB0).
const std::string& CsvHeader();

/// One frame's record into `record`: trimmed date and time text, orbit number, and the six rows'
/// fragments. A row never decoded leaves an empty field.
void AssembleRecord(const RunState& state, std::string& record);

/// A frame's record in which every channel has its own field, empty when the channel was not
/// copied or its row is missing in the frame; date, time, orbit and the copied channels' texts
/// are those of AssembleRecord.
void AssembleRecordWithGaps(const Frame& frame, std::string& record);

}  // namespace ao07
