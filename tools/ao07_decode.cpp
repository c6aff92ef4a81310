// ao07-decode: turns a whole telemetry log into the CSV file that the window would write if
// CSV output were switched on before the log was opened and the log stepped to its end.

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "ao07_version.h"
#include "core/run_state.h"
#include "core/silent_panel.h"
#include "decoder/channel_equations.h"
#include "decoder/main_module.h"

namespace {

constexpr std::string_view kUsage =
    "Usage: ao07-decode [-o FILE] LOG\n"
    "Decodes an AO-07 telemetry log and writes one CSV record per frame.\n"
    "\n"
    "  LOG        the typed log; - reads standard input\n"
    "  -o FILE    write the CSV to FILE instead of standard output\n"
    "  -h, --help show this help\n"
    "  --version  show the version\n";

/// Shows nothing, as a window with Auto mode off would behave at the end of a log; clearing the
/// CSV switch switches CSV output off. The first error is kept for the exit status.
class BatchPanel final : public ao07::SilentPanel {
public:
    void Attach(ao07::MainModule& module) { m_module = &module; }
    const std::string& Error() const { return m_error; }

    void UncheckCsvSwitch() override {
        if (m_module->State().CsvEnabled) {
            const std::string error = m_module->StopCsvOutput();
            if (!error.empty()) {
                ShowError("the CSV output could not be closed: " + error);
            }
        }
    }
    void ShowError(std::string_view message) override {
        if (m_error.empty()) {
            m_error = message;
        }
    }

private:
    ao07::MainModule* m_module = nullptr;
    std::string m_error;
};

int Fail(const std::string& message) {
    std::cerr << "ao07-decode: " << message << '\n';
    return 1;
}

int UsageError(const std::string& message) {
    std::cerr << "ao07-decode: " << message << "\nTry 'ao07-decode --help'.\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    std::string outputPath;
    std::string logPath;
    bool haveLog = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-h" || arg == "--help") {
            std::cout << kUsage;
            return 0;
        }
        if (arg == "--version") {
            std::cout << "ao07-decode " << ao07::kVersionText << '\n';
            return 0;
        }
        if (arg == "-o") {
            if (i + 1 >= args.size()) {
                return UsageError("-o needs a file name");
            }
            outputPath = args[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return UsageError("unknown option " + arg);
        } else if (haveLog) {
            return UsageError("only one log can be decoded at a time");
        } else {
            logPath = arg;
            haveLog = true;
        }
    }
    if (!haveLog) {
        return UsageError("no log given");
    }

    BatchPanel panel;
    ao07::MainModule module(panel);
    panel.Attach(module);

    // The log is opened before the output is created, so that a wrong log name never
    // empties an existing output file.
    if (logPath == "-") {
        module.OpenLogFromDescriptor(STDIN_FILENO, "standard input");
    } else if (const std::string error = module.OpenLog(logPath); !error.empty()) {
        return Fail("cannot read log \"" + logPath + "\": " + error);
    }
    const std::string outputName = outputPath.empty() ? "standard output" : outputPath;
    const std::string csvError = outputPath.empty()
                                     ? module.StartCsvOutputToDescriptor(STDOUT_FILENO, outputName)
                                     : module.StartCsvOutput(outputPath);
    if (!csvError.empty()) {
        return Fail("cannot write \"" + outputName + "\": " + csvError);
    }

    try {
        while (!module.State().AtEndOfFile && panel.Error().empty()) {
            module.AdvanceOneLine();
        }
    } catch (const ao07::ConversionError& error) {
        return Fail(error.what());
    }
    if (!panel.Error().empty()) {
        return Fail(panel.Error());
    }
    return 0;
}
