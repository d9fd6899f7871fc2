#pragma once
// varnex-check run in-process, and the texts its tests compare its output with.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "Run.h"

inline std::string fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Outcome {
    int status = -1;
    std::string out;
    std::string err;
};

inline Outcome check(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    Outcome run;
    run.status = runVarnexCheck(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

// Every "{F}" (or other marker) stands for the folder checked.
inline std::string placed(std::string text, const std::string& folder, const std::string& marker = "{F}") {
    for (auto at = text.find(marker); at != std::string::npos; at = text.find(marker, at + folder.size()))
        text.replace(at, marker.size(), folder);
    return text;
}

inline std::string lines(const std::vector<std::string>& texts) {
    std::string joined;
    for (const auto& text : texts) joined += text + "\n";
    return joined;
}
