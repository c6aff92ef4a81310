#include "cli/command_line.h"

#include <algorithm>

namespace ao07::cli {

std::string ReadCommandLine(const std::vector<std::string>& args,
                            std::span<const CommandLineOption> options,
                            std::vector<std::string>& operands, bool& help, bool& version) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            help = true;
            continue;
        }
        if (arg == "--version") {
            version = true;
            continue;
        }
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const CommandLineOption& o) { return o.name == arg; });
        if (option == options.end()) {
            return "unknown option " + arg;
        }
        std::string value;
        if (!option->value.empty()) {
            if (i + 1 >= args.size()) {
                return arg + " needs " + std::string(option->value);
            }
            value = args[++i];
        }
        if (std::string error = option->take(value); !error.empty()) {
            return error;
        }
    }
    return {};
}

}  // namespace ao07::cli
