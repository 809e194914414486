// Starting other programs: finding them on PATH, running one to its end with its output
// collected, and starting one that outlives the call (a document viewer). Programs are
// always started directly with an argument vector, never through a shell, so that file
// names with spaces or quotes arrive as one argument each.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace hxq::platform {

// The executable file `program` names: a name with a "/" as written, a bare name looked
// up in the folders of $PATH. Empty when there is no such executable file.
std::filesystem::path find_program(std::string_view program);

struct ProcessResult {
    int exit_code = 0;  // the program's exit status; 128 + the signal when a signal ended it
    std::string out;
    std::string err;
};

// Runs argv[0] (found with find_program) with the arguments argv[1...], stdin from
// /dev/null, and waits for it. Error 53 when the program is not found, 5 when argv is
// empty, 75 when it cannot be started.
ProcessResult run_program(const std::vector<std::string>& argv);

// Starts argv[0] as run_program does, in its own session and with stdin, stdout and
// stderr on /dev/null, and returns at once. Nothing waits for it but a background
// thread that collects its exit status, so the program may stay open as long as it
// likes and never lingers as a zombie. Errors as run_program.
void start_detached(const std::vector<std::string>& argv);

}  // namespace hxq::platform
