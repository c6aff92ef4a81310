#pragma once

#include <string>

namespace ao07::test {

class TempDir;

/// What a run of a real program left behind.
struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs `program` with `args` (shell words; a redirection among them wins) in `dir`, standard
/// input from `input`.
Outcome RunProgram(const std::string& program, const TempDir& dir, const std::string& args,
                   const std::string& input = "");

}  // namespace ao07::test
