#pragma once

#include <string>

#include "support/program_run.h"

namespace ao07::test {

/// Runs the real ao07-decode with `args` (shell words, which may redirect standard output) in
/// `dir`, standard input from `input`.
Outcome Decode(const TempDir& dir, const std::string& args, const std::string& input = "");

/// A whole frame with a header: its record is kRecord.
extern const std::string kFrame;
/// The CSV record of kFrame, with its CR LF.
extern const std::string kRecord;

}  // namespace ao07::test
