#pragma once

#include <iosfwd>

namespace ao07::tool {

struct DecodeOptions;
class FrameSink;

/// Decodes every log of `options`, each as if it were the only one, into `sink`, which writes to
/// the output of `options`. Messages go to `errors`, one line each. Returns the exit status: 0,
/// or 1 when a log could not be read or the output not written.
int DecodeLogs(const DecodeOptions& options, FrameSink& sink, std::ostream& errors);

}  // namespace ao07::tool
