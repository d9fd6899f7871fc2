// The normal form and the column reader on arbitrary lines. The first byte picks the
// spawn rules; the rest is the line.

#include "FuzzCheck.h"
#include "LineFormat.h"
#include "StepByStepNormalize.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The reader done the slow way: one piece at a time off a copied line.
std::string readerStepByStep(std::string& line) {
    const auto cut = [&line]() -> std::string {
        const auto tab = line.find('\t');
        if (tab == std::string::npos) return {};
        std::string piece = line.substr(0, tab);
        line.erase(0, tab + 1);
        return piece;
    };
    const bool hadTab = line.find('\t') != std::string::npos;
    std::string field = cut();
    if (!hadTab || field.empty() || field.front() != '"') return field;
    while (field.back() != '"' && line.find('\t') != std::string::npos) field += ' ' + cut();
    return field;
}

void checkNormalForm(std::string_view in, const std::string& out, bool spawnRules) {
    FUZZ_CHECK(out.find(' ') == std::string::npos, "a blank is left");
    FUZZ_CHECK(out.find("\t\t") == std::string::npos, "two tabs in a row");
    FUZZ_CHECK(out.empty() || out.front() != '\t', "a leading tab");
    FUZZ_CHECK(out.size() <= in.size() + 1, "the line grew");
    if (spawnRules) {
        FUZZ_CHECK(out.empty() || out.back() != '\t', "a trailing tab under the spawn rules");
        FUZZ_CHECK(out.find("//") == std::string::npos, "a comment is left");
    }
    FUZZ_CHECK(normalizeline(out, spawnRules) == out, "normalising twice changes the line");
    if (in.size() <= 512) FUZZ_CHECK(out == stepByStepNormalize(std::string(in), spawnRules), "differs from the steps");
}

// nexttoken, TokenReader and the slow reader walk the same line in step.
void checkReader(const std::string& start) {
    std::string byNexttoken = start;
    std::string slow = start;
    TokenReader reader(start);
    for (int guard = 0; guard <= static_cast<int>(start.size()) + 1; ++guard) {
        const bool hadTab = byNexttoken.find('\t') != std::string::npos;
        const std::string before = byNexttoken;
        const std::string a = nexttoken(byNexttoken);
        const std::string b = reader.next();
        FUZZ_CHECK(a == b, "nexttoken and TokenReader disagree");
        FUZZ_CHECK(reader.rest() == byNexttoken, "rests differ");
        if (start.size() <= 512) {
            FUZZ_CHECK(a == readerStepByStep(slow), "reader differs from the steps");
            FUZZ_CHECK(slow == byNexttoken, "rest differs from the steps");
        }
        if (!hadTab) {
            FUZZ_CHECK(a.empty(), "a field from a line without a tab");
            FUZZ_CHECK(byNexttoken == before, "a line without a tab was changed");
            return;
        }
    }
    FUZZ_CHECK(false, "the reader does not come to an end");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool spawnRules = (data[0] & 1) != 0;
    const bool rawLine = (data[0] & 2) != 0;
    const std::string_view in(reinterpret_cast<const char*>(data) + 1, size - 1);
    const std::string out = normalizeline(in, spawnRules);
    checkNormalForm(in, out, spawnRules);
    // The reader must also end on lines that are not in normal form.
    checkReader(rawLine ? std::string(in) : out);
    return 0;
}
