#pragma once

#include <iosfwd>

namespace ao07::tool {

struct DecodeOptions;
class FrameSink;

/// --follow: decodes the one log of `options` into `sink` and then keeps reading it as it grows,
/// writing each record as soon as its row 6 has arrived, until SIGINT or SIGTERM. A log that an
/// editor replaces or shortens is opened again by name and, unless it begins with the lines
/// already decoded, decoded again from its first line. Returns the exit status: 0 when ended by
/// a signal, 1 when the log could not be opened or the output not written.
int FollowLog(const DecodeOptions& options, FrameSink& sink, std::ostream& errors);

}  // namespace ao07::tool
