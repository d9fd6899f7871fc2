// varnex-check's SARIF log as code-scanning tools read it: where each result stands,
// the rules' help, and fingerprints that follow a result when lines are added above it.

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "CheckRun.h"
#include "PlantedFolder.h"
#include "Rules.h"
#include "TableFixtures.h"
#include "TempFolder.h"

namespace {

// What follows each `before` in the text, up to the next of the characters `ends`.
std::vector<std::string> allAfter(const std::string& text, const std::string& before, const char* ends) {
    std::vector<std::string> found;
    for (auto at = text.find(before); at != std::string::npos; at = text.find(before, at + 1)) {
        const auto start = at + before.size();
        found.push_back(text.substr(start, text.find_first_of(ends, start) - start));
    }
    return found;
}

std::vector<std::string> fingerprintsOf(const std::string& log) {
    const std::vector<std::string> found = allAfter(log, R"("partialFingerprints": {"varnexLineHash/v1": ")", "\"");
    for (const std::string& fingerprint : found)
        EXPECT_EQ(fingerprint.find(':'), 16u) << fingerprint;  // 16 hex digits, then the count
    return found;
}

std::vector<std::string> startLinesOf(const std::string& log) { return allAfter(log, R"("startLine": )", ",}"); }

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
        EXPECT_EQ(allAfter(run.out, "file:", "").size(), c.flags.front() == "--json" ? 0u : 1u) << c.name;
        EXPECT_EQ(run.err, "") << c.name;
    }
}

TEST(VarnexCheckSarif, FingerprintsStayWhenLinesAreAddedAbove) {
    TempFolder folder;
    std::filesystem::copy(kPlanted, folder.path(), std::filesystem::copy_options::recursive);
    const auto log = [&] { return check({"--format", "sarif", folder.path().string()}).out; };
    const std::string before = log();
    const std::vector<std::string> fingerprints = fingerprintsOf(before);
    ASSERT_EQ(fingerprints.size(), allAfter(before, R"("ruleId")", "").size()) << "one for each result";

    // A monster no line uses, and a comment: neither is a problem.
    folder.write("data/monster.txt", crlf({monsterLine("900", "Added", "1")}) + folder.read("data/monster.txt"));
    folder.write("data/Quarnel.txt", "// added\r\n" + folder.read("data/Quarnel.txt"));
    const std::string after = log();
    EXPECT_EQ(fingerprintsOf(after), fingerprints);
    const std::vector<std::string> linesBefore = startLinesOf(before);
    const std::vector<std::string> linesAfter = startLinesOf(after);
    ASSERT_EQ(linesAfter.size(), linesBefore.size());
    for (std::size_t i = 0; i < linesBefore.size(); ++i)
        EXPECT_EQ(std::stoi(linesAfter[i]), std::stoi(linesBefore[i]) + 1) << "result " << i;

    // A result whose line changes is another result.
    folder.write("data/Quarnel.txt", folder.read("data/Quarnel.txt") + "77 0 0 1 1 -1\r\n");
    const std::vector<std::string> more = fingerprintsOf(log());
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
        std::string fix = "**How to fix it.** ";
        for (const char c : rule.fix) fix += c == '"' ? std::string("\\\"") : std::string(1, c);
        fix += '"';
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
