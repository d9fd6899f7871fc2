#pragma once
// The system's own `diff -u`, for the tests that hold our diff to it. POSIX only.

#include <cstdio>
#include <filesystem>
#include <string>

#ifndef _WIN32
// What `diff -u --label oldLabel --label newLabel oldFile newFile` prints.
inline std::string realUnifiedDiff(const std::filesystem::path& oldFile, const std::filesystem::path& newFile,
                                   const std::string& oldLabel, const std::string& newLabel) {
    const std::string command = "diff -u --label '" + oldLabel + "' --label '" + newLabel + "' '" +
                                oldFile.string() + "' '" + newFile.string() + "'";
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
        pclose(pipe);
    }
    return out;
}
#endif
