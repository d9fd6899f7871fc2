// varnex-check's SARIF log as code-scanning tools read it: where each result stands,
// the rules' help, and fingerprints that follow a result when lines are added above it.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "PlantedFolder.h"
#include "Rules.h"
#include "TableFixtures.h"
#include "TempFolder.h"

namespace {

// The texts of one capture group of every match, in order.
std::vector<std::string> allOf(const std::string& log, const std::regex& pattern) {
    std::vector<std::string> found;
    for (std::sregex_iterator at(log.begin(), log.end(), pattern), end; at != end; ++at) found.push_back((*at)[1]);
    return found;
}

const std::regex kFingerprint(R"re("partialFingerprints": \{"varnexLineHash/v1": "([0-9a-f]{16}:[0-9]+)"\})re");
const std::regex kStartLine(R"re("startLine": ([0-9]+))re");

TEST(VarnexCheckSarif, PlacesEachResultBelowItsRoot) {
    struct Case {
        const char* name;
        std::map<std::string, std::string> files;  // below the folder checked, "server one/"
        std::vector<std::string> flags;            // "{T}": the folder that holds it
        std::vector<std::string> holds;            // "{T}" likewise
    };
    const std::string badLevel = crlf({monsterLine("1", "\xC3\x89\xC4mile", "x")});  // "É", a byte not UTF-8
    const std::string clean = crlf({monsterLine("1", "M1", "1")});
    const Case cases[] = {
        {"columns in characters on a line with non-ASCII text: each byte that is not UTF-8 is one",
         {{"data/monster.txt", badLevel}, {"data/Quarnel.txt", ""}},
         {"--format", "sarif"},
         {R"("uri": "data/monster.txt", "uriBaseId": "SRCROOT"}, "region": {"startLine": 1, "startColumn": 14}})"}},
        {"the same problem in JSON counts bytes",
         {{"data/monster.txt", badLevel}, {"data/Quarnel.txt", ""}},
         {"--json"},
         {R"("line": 1, "column": 15, "severity": "error", "code": "load-stops")"}},
        {"a problem of the whole file stands at its line 1",
         {{"data/monster.txt", clean}},
         {"--format=sarif"},
         {R"("uri": "data/Quarnel.txt", "uriBaseId": "SRCROOT"}, "region": {"startLine": 1}})"}},
        {"the root is the folder checked",
         {{"data/monster.txt", clean}, {"data/Quarnel.txt", ""}},
         {"--format", "sarif", "--ignore", "unreadable-file"},
         {R"("originalUriBaseIds": {"SRCROOT": {"uri": "file://{T}/server%20one/")"}},
        {"--base names the files below it",
         {{"data/monster.txt", clean}},
         {"--format", "sarif", "--base", "{T}"},
         {R"("originalUriBaseIds": {"SRCROOT": {"uri": "file://{T}/")",
          R"("uri": "server%20one/data/Quarnel.txt", "uriBaseId": "SRCROOT"})"}},
        {"--base the folder itself",
         {{"data/monster.txt", clean}},
         {"--format", "sarif", "--base={T}/server one/"},
         {R"("originalUriBaseIds": {"SRCROOT": {"uri": "file://{T}/server%20one/")",
          R"("uri": "data/Quarnel.txt", "uriBaseId": "SRCROOT"})"}},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const std::string root = folder.path().string();
        for (const auto& [relative, bytes] : c.files) folder.write("server one/" + relative, bytes);
        std::vector<std::string> args;
        for (const std::string& flag : c.flags) args.push_back(placed(flag, root, "{T}"));
        args.push_back((folder.path() / "server one").string());
        const Outcome run = check(args);
        for (const std::string& text : c.holds)
            EXPECT_NE(run.out.find(placed(text, root, "{T}")), std::string::npos) << c.name << "\n" << run.out;
        // Only the root is an absolute URI.
        EXPECT_EQ(allOf(run.out, std::regex("(file:)")).size(), c.flags.front() == "--json" ? 0u : 1u) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
    }
}

TEST(VarnexCheckSarif, FingerprintsStayWhenLinesAreAddedAbove) {
    TempFolder folder;
    std::filesystem::copy(kPlanted, folder.path(), std::filesystem::copy_options::recursive);
    const auto log = [&] { return check({"--format", "sarif", folder.path().string()}).out; };
    const std::string before = log();
    const std::vector<std::string> fingerprints = allOf(before, kFingerprint);
    ASSERT_EQ(fingerprints.size(), allOf(before, std::regex(R"re(("ruleId"))re")).size()) << "one for each result";

    // A monster no line uses, and a comment: neither is a problem.
    folder.write("data/monster.txt", crlf({monsterLine("900", "Added", "1")}) + folder.read("data/monster.txt"));
    folder.write("data/Quarnel.txt", "// added\r\n" + folder.read("data/Quarnel.txt"));
    const std::string after = log();
    EXPECT_EQ(allOf(after, kFingerprint), fingerprints);
    const std::vector<std::string> linesBefore = allOf(before, kStartLine);
    const std::vector<std::string> linesAfter = allOf(after, kStartLine);
    ASSERT_EQ(linesAfter.size(), linesBefore.size());
    for (std::size_t i = 0; i < linesBefore.size(); ++i)
        EXPECT_EQ(std::stoi(linesAfter[i]), std::stoi(linesBefore[i]) + 1) << "result " << i;

    // A result whose line changes is another result.
    folder.write("data/Quarnel.txt", folder.read("data/Quarnel.txt") + "77 0 0 1 1 -1\r\n");
    const std::vector<std::string> more = allOf(log(), kFingerprint);
    EXPECT_EQ(more.size(), fingerprints.size() + 1);
}

// A code as code-review tools name a rule: "load-stops" is "LoadStops".
std::string pascalCase(std::string_view code) {
    std::string name;
    bool start = true;
    for (const char c : code) {
        if (c == '-') {
            start = true;
            continue;
        }
        name.push_back(start ? static_cast<char>(std::toupper(static_cast<unsigned char>(c))) : c);
        start = false;
    }
    return name;
}

TEST(VarnexCheckSarif, EachRuleCarriesItsHelp) {
    const std::string log = check({"--format", "sarif", kPlanted.string()}).out;
    for (const Rule& rule : kRules) {
        const std::string code(rule.code);
        EXPECT_EQ(rule.name, pascalCase(rule.code)) << code;
        for (const std::string_view text : {rule.finds, rule.why, rule.fix}) {
            EXPECT_GT(text.size(), 40u) << code;
            EXPECT_TRUE(text.ends_with('.')) << code << ": " << text;
        }
        const std::string fix = "**How to fix it.** " + std::regex_replace(std::string(rule.fix), std::regex("\""), "\\\"") + "\"";
        EXPECT_NE(log.find(R"("id": ")" + code + R"(", "name": ")" + std::string(rule.name) + "\""),
                  std::string::npos)
            << code;
        EXPECT_NE(log.find(fix), std::string::npos) << code;
        // Its line of --help fits 80 columns.
        const std::string help = usageText();
        const std::size_t line = help.find("\n  " + code + " ");
        ASSERT_NE(line, std::string::npos) << code;
        EXPECT_LE(help.find('\n', line + 1) - line - 1, 80u) << code;
    }

}

}  // namespace
