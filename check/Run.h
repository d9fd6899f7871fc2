#pragma once
// varnex-check [OPTION]... [FOLDER]: the whole program, apart from turning main's
// arguments into strings and writing what it gives out.

#include <ostream>
#include <string>
#include <vector>

#include "Problems.h"
#include "ReportSettings.h"

// args: the arguments after the program's name. The report goes to out; why it
// cannot run goes to err (and, as a document, to out when JSON or SARIF was asked for).
int runVarnexCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

// The text of --help.
std::string usageText();
