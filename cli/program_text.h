#pragma once

#include <string_view>

namespace ao07::cli {

/// Writes `text` (the --help or --version text of `program`) to standard output. As coreutils
/// do, an answer that could not be written is an error: returns the exit status, 0, or 1 after
/// saying on standard error why standard output took no text.
int ShowProgramText(std::string_view program, std::string_view text);

/// Says on standard error what is wrong with `program`'s command line and where help is.
/// Returns the exit status of a wrong command line, 2.
int RefuseCommandLine(std::string_view program, std::string_view problem);

}  // namespace ao07::cli
