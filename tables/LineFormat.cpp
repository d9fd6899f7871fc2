#include "LineFormat.h"
std::string normalizeline(std::string_view line, bool) { return std::string(line); }
std::string nexttoken(std::string& line) { TokenReader r(line); auto t = r.next(); line = std::string(r.rest()); return t; }
std::string TokenReader::next() { return {}; }
