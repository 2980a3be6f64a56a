#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

// The programs of the command line run by their tests: the status and what
// they printed.
namespace kx::test {

struct Ran {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// A program of the command line run in the test's folder, so that relative
// names land there; `prefix` goes before the program, for example to run it as
// another user; `output` redirects its standard output elsewhere (then `out`
// stays empty).
inline Ran RunProgram(const std::string& program, const TempFolder& folder,
                      const std::vector<std::string>& arguments, const std::string& prefix = "",
                      const std::string& output = "") {
    std::string command =
        "cd " + Quoted(folder.path().string()) + " && " + prefix + Quoted(program);
    for (const std::string& argument : arguments) command += " " + Quoted(argument);
    const std::string out = folder.file("stdout"), err = folder.file("stderr");
    command += (output.empty() ? " >" + Quoted(out) : " " + output) + " 2>" + Quoted(err);
    Ran run;
    const int status = std::system(command.c_str());
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.out = FileBytes(out);
    run.err = FileBytes(err);
    std::filesystem::remove(out);
    std::filesystem::remove(err);
    return run;
}

#ifdef KX_FIT_PROGRAM
inline Ran RunFit(const TempFolder& folder, const std::vector<std::string>& arguments,
                  const std::string& prefix = "", const std::string& output = "") {
    return RunProgram(KX_FIT_PROGRAM, folder, arguments, prefix, output);
}
#endif

}  // namespace kx::test
