#pragma once
// The normaliser done the slow way, one deletion at a time as the rules are stated:
// a reference for random lines in the tests and the fuzz target (short lines only,
// it is quadratic).

#include <string>

inline std::string stepByStepNormalize(std::string s, bool spawnRules) {
    for (std::size_t p; (p = s.find("  ")) != std::string::npos;) s.erase(p, 1);
    for (char& c : s)
        if (c == ' ') c = '\t';
    for (std::size_t p; (p = s.find("\t\t")) != std::string::npos;) s.erase(p, 1);
    const auto trimEnd = [&s] {
        while (!s.empty() && (s.back() == '\t' || s.back() == ' ')) s.pop_back();
    };
    if (spawnRules) {
        trimEnd();
        if (const auto p = s.find("//"); p != std::string::npos) {
            s.erase(p);
            trimEnd();
        }
    }
    if (!s.empty() && s.front() == '\t') s.erase(0, 1);
    return s;
}
