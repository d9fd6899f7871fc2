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

#ifdef _WIN32
#include <windows.h>
// CommandLineToArgvW
#include <shellapi.h>
#endif

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

#ifdef _WIN32
std::string utf8(const wchar_t* text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

// main's arguments are in the ANSI code page, which cannot hold every folder name;
// the program's own are UTF-16, and go on as UTF-8.
std::vector<std::string> programArguments(int, char**) {
    std::vector<std::string> args;
    int count = 0;
    if (wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) args.push_back(utf8(wide[i]));
        LocalFree(wide);
    }
    return args;
}

// The report is UTF-8; a console shows it as such while the program runs, and gets
// its own code page back after.
class ConsoleCodePage {
public:
    ConsoleCodePage() : old_(GetConsoleOutputCP()) {
        if (old_ != 0) SetConsoleOutputCP(CP_UTF8);
    }
    ~ConsoleCodePage() {
        if (old_ != 0) SetConsoleOutputCP(old_);
    }
    ConsoleCodePage(const ConsoleCodePage&) = delete;
    ConsoleCodePage& operator=(const ConsoleCodePage&) = delete;

private:
    UINT old_;
};
#else
std::vector<std::string> programArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc);
}
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    const ConsoleCodePage utf8Console;
#endif
#ifdef SIGPIPE
    // A reader that went away is a write that failed, to be reported as one.
    std::signal(SIGPIPE, SIG_IGN);
#endif
    StandardOutput output;
    std::ostream out(&output);
    int status = kExitCannotRun;
    try {
        status = runVarnexCheck(programArguments(argc, argv), out, std::cerr);
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
