#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "robustness/child_process.h"

namespace ao07::test {

class TempDir;

/// The step procedure driven to the end of a log as the window drives it: CSV output switched
/// on first (its switch wired to StopCsvOutput, like the window's click reaction), the log
/// opened, one step at once, then Next until the end of the log.
struct LibraryRun {
    std::string csvError;   ///< what StartCsvOutput said ("" when CSV output came on)
    std::string openError;  ///< what OpenLog said ("" when the log opened)
    std::size_t steps = 0;
    bool ended = false;               ///< the end of the log was reached within the step limit
    std::vector<std::string> errors;  ///< every message shown through ShowError
    int endMessages = 0;
    bool csvOnAfterwards = false;
    std::size_t lastLineSize = 0;
    char lastLineFirst = 0;
    std::string orbit;  ///< lblOrbit's text
    std::string csv;    ///< the CSV file's bytes afterwards, when it is a regular file
};

/// Steps the log at `logPath` with CSV output to `csvPath`. Gives up after `maxSteps` steps,
/// which no log of that many lines needs: a reader that never ends is caught, not waited for.
LibraryRun StepLogToItsEnd(const std::string& logPath, const std::string& csvPath,
                           std::size_t maxSteps);

/// A run of the real ao07-decode.
struct DecoderRun {
    ProcessEnd end;
    std::string out;  ///< standard output
    std::string err;  ///< standard error
};

/// Runs ao07-decode with `args` in `dir`; a run that takes longer than `timeoutSeconds` is a hang.
DecoderRun RunDecoder(const TempDir& dir, const std::vector<std::string>& args,
                      int timeoutSeconds = 60, rlim_t fileSizeLimit = RLIM_INFINITY);

/// The path of the ao07-decode program under test.
std::string DecoderPath();

}  // namespace ao07::test
