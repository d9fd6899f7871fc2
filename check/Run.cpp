#include "Run.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "Checker.h"
#include "Report.h"

namespace {

struct Arguments {
    ReportSettings report;
    CheckSettings check;
    std::optional<std::string> folder;
    bool help = false;
    bool version = false;
};

// Nothing, and why on err, when the arguments are not ours.
std::optional<Arguments> parseArguments(const std::vector<std::string>& args, std::ostream& err) {
    Arguments parsed;
    bool options = true;  // until "--"
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--json") {
            parsed.report.json = true;
        } else if (options && arg == "--quiet") {
            parsed.report.quiet = true;
        } else if (options && arg == "--no-pictures") {
            parsed.check.pictures = false;
        } else if (options && arg == "--help") {
            parsed.help = true;
        } else if (options && arg == "--version") {
            parsed.version = true;
        } else if (options && arg.size() > 1 && arg.front() == '-') {
            err << "varnex-check: unknown option " << printable(arg) << "\n";
            return std::nullopt;
        } else if (parsed.folder) {
            err << "varnex-check: one folder only (" << printable(*parsed.folder) << " and " << printable(arg)
                << ")\n";
            return std::nullopt;
        } else {
            parsed.folder = arg;
        }
    }
    return parsed;
}

}  // namespace

std::string usageText() {
    return R"(Usage: varnex-check [--json] [--quiet] [--no-pictures] [FOLDER]

Checks a game server's data/monster.txt and data/Quarnel.txt below FOLDER (by
default the current folder) with the editor's own rules, and the map picture
VarnexMaps/<map>.jpg of every map that has spots. Lists every problem at once,
in file order, the monster table first, one line each:

  data/monster.txt:12: error: the editor's load stops here: Range check error

then one summary line. A problem of a whole file has no line number. Bytes of
the files that are control characters or not UTF-8 show as \t or \xNN.

Errors are what stops the editor's load or keeps a monster from being edited:
a line the load stops at (a map, coordinate, distance or count outside 0..255
is one: "Range check error"), a monster line the stats page cannot show in
full, more than 1024 monsters or 10240 spots, a spawn line whose monster is not
in the table, a data file that cannot be read.
Warnings are what the editor takes but you probably did not mean: values the
stats page would pull into its bounds, a move range outside 0..5, a monster
number used twice, lines after the monster table's end line, range spots with
their corners in reverse order, a map without a picture or with one that does
not decode.

  --json          print one JSON document instead: the counts and every problem
                  with file, line (0: the whole file), severity, code, message
  --quiet         list errors only; warnings are still counted in the summary
  --no-pictures   do not look at the map pictures
  --help          print this text
  --version       print the version

Exit status: 0 no error (warnings allowed), 1 at least one error, 2 it cannot
run (no such folder, bad arguments).
)";
}

int runVarnexCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    const std::optional<Arguments> parsed = parseArguments(args, err);
    if (!parsed) {
        err << "Try 'varnex-check --help'.\n";
        return kExitCannotRun;
    }
    if (parsed->help) {
        out << usageText();
        return kExitClean;
    }
    if (parsed->version) {
        out << "varnex-check " << VARNEX_VERSION << "\n";
        return kExitClean;
    }
    const std::filesystem::path folder = parsed->folder.value_or(std::string());
    std::error_code error;
    if (parsed->folder && !std::filesystem::is_directory(folder, error)) {
        err << "varnex-check: " << printable(*parsed->folder) << ": no such folder\n";
        return kExitCannotRun;
    }
    const CheckResult result = checkFolder(folder, parsed->check);
    writeReport(out, result, parsed->report);
    return result.errors > 0 ? kExitErrors : kExitClean;
}
