#pragma once

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ao07::cli {

/// One option of a program's command line.
struct CommandLineOption {
    std::string_view name;
    /// What its value is, said when the value is missing ("a file name"); "" for an option
    /// that takes no value.
    std::string_view value;
    /// What the option does, given its value ("" for one without): "" or what is wrong.
    std::function<std::string(const std::string& value)> take;
};

/// Reads `args` (without the program name) as both programs do: -h and --help, --version, the
/// `options` (one with a value takes the next word, whatever it is), and `operands`: every
/// word that is no option ("-" and "" among them) and every word after "--". Returns "" or
/// what is wrong: an unknown option, a missing value, or what an option said.
std::string ReadCommandLine(const std::vector<std::string>& args,
                            std::span<const CommandLineOption> options,
                            std::vector<std::string>& operands, bool& help, bool& version);

}  // namespace ao07::cli
