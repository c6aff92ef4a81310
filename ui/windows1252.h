#pragma once

#include <cstddef>
#include <string_view>

class QString;

namespace ao07::ui {

/// The text of Windows-1252 bytes (the log's and the channel table's character set) for the
/// screen. Bytes 0x80-0x9F take their Windows-1252 characters (0x80 is the euro sign); the five
/// bytes that code page leaves undefined keep their own code points, so no byte is lost.
QString FromWindows1252(std::string_view bytes);

/// The most characters of a text from the log that a box or label of the main window shows.
/// No real log comes near it (a record is a few hundred characters); laying out a line of a
/// megabyte would hold the window for minutes.
inline constexpr std::size_t kMaxShownCharacters = 4096;

/// FromWindows1252(bytes) when it has at most kMaxShownCharacters characters; otherwise its
/// first kMaxShownCharacters characters and an ellipsis. Only the screen is cut this way.
QString ShownText(std::string_view bytes);

}  // namespace ao07::ui
