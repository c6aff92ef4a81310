// ao07-decode: turns a whole telemetry log into the CSV file that the window would write if
// CSV output were switched on before the log was opened and the log stepped to its end.

#include <unistd.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "ao07_version.h"
#include "core/front_panel.h"
#include "core/run_state.h"
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

/// Shows nothing; keeps the first error for the exit status and reports each cut line on
/// standard error.
class BatchPanel final : public ao07::FrontPanel {
public:
    const std::string& Error() const { return m_error; }

    void LineCut(std::int64_t, bool, std::string_view message) override {
        std::cerr << "ao07-decode: " << m_logName << ": " << message << '\n';
    }
    void ShowError(std::string_view message) override {
        if (m_error.empty()) {
            m_error = message;
        }
    }
    void SetLogName(std::string name) { m_logName = std::move(name); }

private:
    std::string m_error;
    std::string m_logName;
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
    panel.SetLogName(logPath == "-" ? "standard input" : logPath);

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
