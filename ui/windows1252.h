#pragma once

#include <string_view>

class QString;

namespace ao07::ui {

/// The text of Windows-1252 bytes (the log's and the channel table's character set) for the
/// screen. Bytes 0x80-0x9F take their Windows-1252 characters (0x80 is the euro sign); the five
/// bytes that code page leaves undefined keep their own code points, so no byte is lost.
QString FromWindows1252(std::string_view bytes);

}  // namespace ao07::ui
