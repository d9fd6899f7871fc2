#include "Backups.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "SaveSteps.h"

std::vector<unsigned long long> backupNumbers(const platform::Folder& folder, const std::string& name) {
    std::vector<unsigned long long> numbers;
    const std::string prefix = name + ".~";
    for (const std::filesystem::path& each : folder.list()) {
        const std::string entry = each.string();
        if (entry.size() < prefix.size() + 2 || !entry.starts_with(prefix) || entry.back() != '~') continue;
        const char* first = entry.data() + prefix.size();
        const char* last = entry.data() + entry.size() - 1;
        unsigned long long number = 0;
        const auto [stop, problem] = std::from_chars(first, last, number);
        // Only digits, as cp writes them: "~01~" or "~1x~" is someone else's file.
        if (problem == std::errc() && stop == last && *first != '0') numbers.push_back(number);
    }
    std::sort(numbers.begin(), numbers.end());
    return numbers;
}

std::filesystem::path backupName(const std::string& name, unsigned long long number) {
    return name + ".~" + std::to_string(number) + "~";
}

bool newestBackupHolds(const platform::Folder& folder, const std::string& name, std::string_view bytes) {
    const auto numbers = backupNumbers(folder, name);
    if (numbers.empty()) return false;
    const platform::File newest = folder.openToRead(backupName(name, numbers.back()));
    std::string held;
    return newest.valid() && platform::readWhole(newest, held) && held == bytes;
}

std::optional<std::filesystem::path> writeBackup(const platform::Folder& folder, const std::string& name,
                                                 std::string_view bytes, const platform::File* accessFrom,
                                                 const WriteFaults& faults) {
    if (faults.failBackup) {
        savesteps::injected(platform::Fault::accessDenied);
        platform::setLastReason(platform::shownPath(folder.path()) + ": " + platform::lastReason());
        return std::nullopt;
    }
    // The number after the highest there is, as cp takes it, looked for again should
    // another save take it first.
    const auto numbers = backupNumbers(folder, name);
    const unsigned long long next = numbers.empty() ? 1 : numbers.back() + 1;
    const auto written = savesteps::writeFlushedAs(
        folder, name, {bytes}, [&](unsigned attempt) { return backupName(name, next + attempt); }, accessFrom,
        WriteFaults::Step::backupUnnamed, faults);
    if (!written) return std::nullopt;
    return folder.path() / written->name;
}

void pruneBackups(const platform::Folder& folder, const std::string& name, int keep) {
    const auto numbers = backupNumbers(folder, name);
    const auto surplus = static_cast<std::ptrdiff_t>(numbers.size()) - keep;
    for (std::ptrdiff_t i = 0; i < surplus; ++i) folder.remove(backupName(name, numbers[static_cast<std::size_t>(i)]));
}
