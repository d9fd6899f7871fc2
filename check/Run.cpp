#include "Run.h"

#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

#include "Checker.h"
#include "NormalFormDiff.h"
#include "Report.h"
#include "Rules.h"
#include "SarifReport.h"
#include "VisibleText.h"

namespace {

struct Arguments {
    ReportSettings report;
    CheckSettings check;
    std::optional<std::string> folder;
    std::optional<std::string> base;  // --base: SARIF's root folder
    bool help = false;
    bool version = false;
    bool diff = false;  // the normal form's diff in place of the report
};

std::optional<Format> formatNamed(std::string_view name) {
    if (name == "text") return Format::Text;
    if (name == "json") return Format::Json;
    if (name == "sarif") return Format::Sarif;
    return std::nullopt;
}

// Reads every argument, so that a format asked for is known even when another argument
// is wrong; `wrong` says why the first wrong one is.
Arguments parseArguments(const std::vector<std::string>& args, std::string& wrong) {
    Arguments parsed;
    const auto fail = [&wrong](std::string why) {
        if (wrong.empty()) wrong = std::move(why);
    };
    bool options = true;  // until "--"
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        // "--format sarif" or "--format=sarif"; nothing when the value is missing.
        const auto value = [&](std::string_view option) -> std::optional<std::string> {
            if (arg != option) return arg.substr(option.size() + 1);
            if (i + 1 < args.size()) return args[++i];
            fail(std::string(option) + " needs a value");
            return std::nullopt;
        };
        const auto is = [&](std::string_view option) {
            return arg == option || (arg.size() > option.size() && arg.starts_with(option) && arg[option.size()] == '=');
        };
        if (!options || arg.size() < 2 || arg.front() != '-') {
            if (parsed.folder)
                fail("one folder only (" + visibleText(*parsed.folder) + " and " + visibleText(arg) + ")");
            else
                parsed.folder = arg;
        } else if (arg == "--") {
            options = false;
        } else if (arg == "--json") {
            parsed.report.format = Format::Json;
        } else if (is("--format")) {
            if (const auto name = value("--format")) {
                if (const auto format = formatNamed(*name))
                    parsed.report.format = *format;
                else
                    fail("unknown format " + visibleText(*name) + " (text, json or sarif)");
            }
        } else if (is("--ignore")) {
            if (const auto codes = value("--ignore")) {
                // "a,b" as "--ignore a --ignore b"
                for (std::size_t start = 0, comma = 0; comma != std::string::npos; start = comma + 1) {
                    comma = codes->find(',', start);
                    const std::string code = codes->substr(start, comma - start);
                    if (findRule(code))
                        parsed.check.ignored.insert(code);
                    else if (code.empty())
                        fail("an empty rule code in --ignore " + visibleText(*codes));
                    else
                        fail("unknown rule code " + visibleText(code) + " (see --help)");
                }
            }
        } else if (is("--fail-on")) {
            if (const auto name = value("--fail-on")) {
                if (*name == "error")
                    parsed.report.failOn = Severity::Error;
                else if (*name == "warning")
                    parsed.report.failOn = Severity::Warning;
                else
                    fail("unknown severity " + visibleText(*name) + " for --fail-on (error or warning)");
            }
        } else if (is("--base")) {
            if (const auto base = value("--base")) parsed.base = *base;
        } else if (arg == "--quiet" || arg == "-q") {
            parsed.report.quiet = true;
        } else if (arg == "--diff") {
            parsed.diff = true;
        } else if (arg == "--no-pictures") {
            parsed.check.pictures = false;
        } else if (arg == "--help" || arg == "-h") {
            parsed.help = true;
        } else if (arg == "--version" || arg == "-V") {
            parsed.version = true;
        } else {
            fail("unknown option " + visibleText(arg));
        }
    }
    return parsed;
}

// The arguments are UTF-8 on every system (main turns Windows' own into UTF-8); a path
// made from a plain string would take them in the system's narrow code page. Folders
// are shown the system's way: on Windows, with backslashes.
std::filesystem::path folderPath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end())).make_preferred();
}

// Why the path given is no folder to check, or nothing when it is one.
std::optional<std::string> notAFolder(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(folder, error);
    switch (status.type()) {
    case std::filesystem::file_type::directory: return std::nullopt;
    case std::filesystem::file_type::not_found: return "no such folder";
    case std::filesystem::file_type::regular: return "a file, not a folder";
    default: return error ? error.message() : "not a folder";
    }
}

// SARIF's root folder (--base, else the folder checked) and the folder checked below
// it, into the report's settings; why not, when --base does not hold the folder.
std::optional<std::string> placeBelowRoot(const Arguments& parsed, ReportSettings& report) {
    if (parsed.base) {
        if (const auto why = notAFolder(folderPath(*parsed.base))) return "--base " + visibleText(*parsed.base) + ": " + *why;
    }
    std::error_code error;
    const auto whole = [&error](const std::string& path) {
        // Links resolved, so that the two compare; no trailing separator.
        std::filesystem::path full = std::filesystem::weakly_canonical(folderPath(path.empty() ? "." : path), error);
        return full.has_filename() ? full : full.parent_path();
    };
    const std::string folder = parsed.folder.value_or(std::string());
    const std::filesystem::path checked = whole(folder);
    const std::filesystem::path root = parsed.base ? whole(*parsed.base) : checked;
    if (error) return visibleText(parsed.base.value_or(folder)) + ": " + error.message();
    const std::filesystem::path below = checked.lexically_relative(root);
    if (below.empty() || *below.begin() == "..")
        return visibleText(folder.empty() ? "." : folder) + " is not inside the --base folder " +
               visibleText(*parsed.base);
    report.sarifRootUri = folderFileUri(root);
    report.sarifFolderUri = below == "." ? "" : relativeUri(utf8Text(below.generic_u8string())) + "/";
    return std::nullopt;
}

std::string rulesText() {
    std::string text;
    for (const Rule& rule : kRules) {
        std::string line = "  " + std::string(rule.code);
        line.resize(22, ' ');
        line += severityName(rule.severity);
        line.resize(31, ' ');
        text += line + std::string(rule.summary) + "\n";
    }
    return text;
}

}  // namespace

std::string usageText() {
    return R"(Usage: varnex-check [OPTION]... [FOLDER]

Checks a game server's data/monster.txt and data/Quarnel.txt below FOLDER (by
default the current folder) with the editor's own rules, and the map picture
VarnexMaps/<map>.jpg of every map that has spots. Lists every problem at once,
in file order, the monster table first, one line each:

  data/monster.txt:12:7: error: the editor's load stops here: Range check error [load-stops]

(file, line, byte column of the field at fault or 1, severity, message, rule
code), then one summary line. A problem of a whole file has no line and column.
Bytes of the files that are tabs, control characters, invisible characters or
not UTF-8 show as \t, \xNN or \uXXXX, in every format.

  -q, --quiet          list errors only; warnings and notes are still counted
      --no-pictures    do not look at the map pictures
      --ignore CODES   leave the rules CODES (one, or several parted by commas)
                       out of the report, the counts and the exit status (may be
                       given more than once)
      --fail-on LEVEL  error (the default): exit status 1 with an error;
                       warning: with an error or a warning
      --format FORMAT  text (the default), json (one JSON document: the counts
                       and every problem with file, line, column, severity, code,
                       message; an "error" member when it could not check) or
                       sarif (a SARIF 2.1.0 log, for code-review tools)
      --json           short for --format json
      --diff           print, in place of the report, what the editor's save
                       would change in each file without any edit (its normal
                       form: one tab between columns, CR LF line ends, no
                       comments or blank lines) as a unified diff, as
                       `diff -u` prints it; nothing when both are in that form.
                       The exit status is the check's, as without --diff
      --base DIR       SARIF names the files relative to DIR, a folder that
                       holds FOLDER (by default FOLDER itself), such as the root
                       of the repository the tables are kept in
  -h, --help           print this text
  -V, --version        print the version

Rules (code, severity, what it finds); a note tells what follows from a
problem listed elsewhere and never fails a run:
)" + rulesText() +
           R"(
Exit status: 0 no error (warnings allowed), 1 at least one error (or warning,
with --fail-on warning), 2 it cannot run (no such folder, bad arguments, the
report could not be written).
)";
}

int runVarnexCheck(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string wrong;
    const Arguments parsed = parseArguments(args, wrong);
    const auto cannotRun = [&](const std::string& why) {
        err << "varnex-check: " << why << "\n";
        writeFailure(out, why, parsed.report);
        return kExitCannotRun;
    };
    if (!wrong.empty()) {
        const int status = cannotRun(wrong);
        err << "Try 'varnex-check --help'.\n";
        return status;
    }
    if (parsed.help) {
        out << usageText();
        return kExitClean;
    }
    if (parsed.version) {
        out << "varnex-check " << VARNEX_VERSION << "\n";
        return kExitClean;
    }
    if (parsed.folder) {
        if (const auto why = notAFolder(folderPath(*parsed.folder)))
            return cannotRun(visibleText(*parsed.folder) + ": " + *why);
    }
    ReportSettings report = parsed.report;
    if (const auto why = placeBelowRoot(parsed, report)) return cannotRun(*why);
    const std::filesystem::path folder = folderPath(parsed.folder.value_or(std::string()));
    const CheckResult result = checkFolder(folder, parsed.check);
    if (parsed.diff)
        out << normalFormDiff(folder);
    else
        writeReport(out, result, report);
    return exitStatusOf(result, report.failOn);
}
