// varnex-check: lists every problem of a server's monster table, spawn file and map
// pictures at once, with the editor's own rules. See Run.cpp for the usage.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "Run.h"

namespace {

// Writes the report to standard output; the system's reason when it cannot (a closed
// output, a full disk, a reader that went away).
std::optional<std::string> writeOut(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    if (written && std::fflush(stdout) == 0) return std::nullopt;
    return errno ? std::strerror(errno) : "the output could not be written";
}

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that went away is a write that failed, to be reported as one.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    std::ostringstream out;
    int status = kExitCannotRun;
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        status = runVarnexCheck(args, out, std::cerr);
    } catch (const std::exception& e) {  // out of memory and the like: not a verdict on the files
        std::cerr << "varnex-check: " << e.what() << "\n";
        return kExitCannotRun;
    }
    if (const auto failure = writeOut(out.str())) {
        std::cerr << "varnex-check: cannot write the report to standard output: " << *failure << "\n";
        return kExitCannotRun;
    }
    return status;
}
