// varnex-check: lists every problem of a server's monster table, spawn file and map
// pictures at once, with the editor's own rules. See Run.cpp for the usage.

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <ostream>
#include <streambuf>
#include <string>
#include <vector>

#include "Run.h"

namespace {

// Standard output that remembers why a write failed (a closed output, a full disk, a
// reader that went away), where std::cout would only turn bad.
class StandardOutput : public std::streambuf {
public:
    // Flushes what is left; the system's reason for the first failed write, or "".
    std::string finish() {
        if (std::fflush(stdout) != 0) failed(errno);
        return failure_;
    }

protected:
    std::streamsize xsputn(const char* bytes, std::streamsize n) override {
        errno = 0;
        const auto size = static_cast<std::size_t>(n);
        if (std::fwrite(bytes, 1, size, stdout) != size) failed(errno);
        return n;
    }
    int_type overflow(int_type c) override {
        if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
        const char byte = traits_type::to_char_type(c);
        xsputn(&byte, 1);
        return c;
    }

private:
    void failed(int error) {
        if (failure_.empty()) failure_ = error ? std::strerror(error) : "the output could not be written";
    }
    std::string failure_;
};

}  // namespace

int main(int argc, char** argv) {
#ifdef SIGPIPE
    // A reader that went away is a write that failed, to be reported as one.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    StandardOutput output;
    std::ostream out(&output);
    int status = kExitCannotRun;
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        status = runVarnexCheck(args, out, std::cerr);
    } catch (const std::exception& e) {  // out of memory and the like: not a verdict on the files
        std::cerr << "varnex-check: " << e.what() << "\n";
        status = kExitCannotRun;
    }
    if (const std::string failure = output.finish(); !failure.empty()) {
        std::cerr << "varnex-check: cannot write the report to standard output: " << failure << "\n";
        return kExitCannotRun;
    }
    return status;
}
