#include "robustness/front_ends.h"

#include <sys/stat.h>

#include <algorithm>

#include "decoder/main_module.h"
#include "support/recording_panel.h"
#include "support/temp_dir.h"

namespace ao07::test {

LibraryRun StepLogToItsEnd(const std::string& logPath, const std::string& csvPath,
                           std::size_t maxSteps) {
    RecordingPanel panel;
    MainModule module(panel);

    LibraryRun run;
    run.csvError = module.StartCsvOutput(csvPath);
    run.openError = module.OpenLog(logPath);
    while (run.openError.empty() && !module.State().AtEndOfFile && run.steps < maxSteps) {
        module.AdvanceOneLine();
        ++run.steps;
    }
    run.ended = module.State().AtEndOfFile;
    for (const std::string& event : panel.events) {
        if (event.rfind("error: ", 0) == 0) {
            run.errors.push_back(event.substr(7));
        }
        run.endMessages += event == "log ended" ? 1 : 0;
    }
    run.csvOnAfterwards = module.State().CsvEnabled;
    run.lastLineSize = panel.rawLine.size();
    run.lastLineFirst = panel.rawLine.empty() ? '\0' : panel.rawLine.front();
    run.orbit = panel.orbit;
    module.CloseAllFiles();
    // Only a regular file is read back: /dev/full, for one, reads as zeros without end.
    struct stat info {};
    run.csv = ::stat(csvPath.c_str(), &info) == 0 && S_ISREG(info.st_mode) ? ReadFile(csvPath)
                                                                           : "<not a file>";
    return run;
}

std::string DecoderPath() {
    return AO07_DECODE_PATH;
}

DecoderRun RunDecoder(const TempDir& dir, const std::vector<std::string>& args, int timeoutSeconds,
                      rlim_t fileSizeLimit) {
    std::vector<std::string> argv = {DecoderPath()};
    argv.insert(argv.end(), args.begin(), args.end());
    ChildOptions options;
    options.workDir = dir.Path();
    options.stdoutPath = dir.File("decoder.out");
    options.stderrPath = dir.File("decoder.err");
    options.fileSizeLimit = fileSizeLimit;
    DecoderRun run;
    {
        ChildProcess child(argv, options);
        run.end = child.Wait(std::chrono::seconds(timeoutSeconds));
    }
    run.out = ReadFile(options.stdoutPath);
    run.err = ReadFile(options.stderrPath);
    return run;
}

}  // namespace ao07::test
