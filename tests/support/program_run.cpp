#include "support/program_run.h"

#include <sys/wait.h>

#include <cstdlib>

#include "support/temp_dir.h"

namespace ao07::test {

Outcome RunProgram(const std::string& program, const TempDir& dir, const std::string& args,
                   const std::string& input) {
    const std::string in = dir.Write("stdin.bin", input);
    // The arguments come last, so that a redirection among them wins over the files here.
    const std::string command = "cd '" + dir.Path() + "' && '" + program + "' <'" + in + "' >'" +
                                dir.File("stdout.bin") + "' 2>'" + dir.File("stderr.bin") + "' " +
                                args;
    const int raw = std::system(command.c_str());
    Outcome run;
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(dir.File("stdout.bin"));
    run.err = ReadFile(dir.File("stderr.bin"));
    return run;
}

}  // namespace ao07::test
