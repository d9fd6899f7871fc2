// varnex-check: lists every problem of a server's monster table, spawn file and map
// pictures at once, with the editor's own rules. See Run.cpp for the usage.

#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "Run.h"

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        const int status = runVarnexCheck(args, std::cout, std::cerr);
        std::cout.flush();
        return std::cout ? status : kExitCannotRun;
    } catch (const std::exception& e) {  // out of memory and the like: not a verdict on the files
        std::cerr << "varnex-check: " << e.what() << "\n";
        return kExitCannotRun;
    }
}
