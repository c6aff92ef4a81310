#include "cli/program_text.h"

#include <unistd.h>

#include <iostream>
#include <string>

#include "core/output_file.h"

namespace ao07::cli {

int ShowProgramText(std::string_view program, std::string_view text) {
    OutputFile out;
    out.Attach(STDOUT_FILENO);
    std::string error = out.WriteRecord(text);
    if (error.empty()) {
        error = out.Close();
    }
    if (error.empty()) {
        return 0;
    }
    std::cerr << program << ": cannot write standard output: " << error << '\n';
    return 1;
}

int RefuseCommandLine(std::string_view program, std::string_view problem) {
    std::cerr << program << ": " << problem << "\nTry '" << program << " --help'.\n";
    return 2;
}

}  // namespace ao07::cli
