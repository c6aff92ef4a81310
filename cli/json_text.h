#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace ao07::tool {

/// Appends `bytes`, Windows-1252 text (the log's and the channel table's character set), to
/// `json` as a JSON string in UTF-8 with its quotes. Bytes 0x80-0x9F take their Windows-1252
/// characters; the five that code page leaves undefined keep their own code points, so any
/// bytes give valid JSON and no byte is lost. Quotes, backslashes and control characters are
/// escaped.
void AppendJsonString(std::string& json, std::string_view bytes);

/// Appends `value` as a JSON number.
void AppendJsonInteger(std::string& json, std::int64_t value);

/// Appends `value` as a JSON number, the shortest text that reads back as the same float; null
/// for a value that is not finite.
void AppendJsonNumber(std::string& json, float value);

/// Appends `value` as a JSON number, the shortest text that reads back as the same double; null
/// for a value that is not finite.
void AppendJsonNumber(std::string& json, double value);

}  // namespace ao07::tool
