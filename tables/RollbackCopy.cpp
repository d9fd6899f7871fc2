#include "RollbackCopy.h"

#include <atomic>
#include <charconv>
#include <system_error>

#include "SaveSteps.h"

namespace {

std::filesystem::path gAppDataForTests;

// The first line; its number changes with the layout or the hash.
constexpr std::string_view kMagic = "varnex rollback copy 1\n";
constexpr std::string_view kSuffix = ".rollback";

std::string inBase(std::uint64_t value, int base) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value, base).ptr;
    return std::string(text, end);
}

// Takes "<word> <size> <hash>\n" off the front.
bool takeSizeAndHash(std::string_view& rest, std::string_view word, std::uint64_t& size, std::uint64_t& hash) {
    if (!rest.starts_with(word)) return false;
    rest.remove_prefix(word.size());
    const char* end = rest.data() + rest.size();
    auto [p, e] = std::from_chars(rest.data(), end, size);
    if (e != std::errc() || p == end || *p != ' ') return false;
    auto [q, f] = std::from_chars(p + 1, end, hash, 16);
    if (f != std::errc() || q == end || *q != '\n') return false;
    rest.remove_prefix(static_cast<std::size_t>(q + 1 - rest.data()));
    return true;
}

}  // namespace

std::filesystem::path appDataFolder() {
    if (!gAppDataForTests.empty()) return gAppDataForTests;
    const auto user = platform::userDataFolder();
    return user.empty() ? user : user / "varnex";
}

void setAppDataFolderForTesting(const std::filesystem::path& folder) { gAppDataForTests = folder; }

std::filesystem::path rollbackFolder() {
    const auto data = appDataFolder();
    return data.empty() ? data : data / "rollback";
}

std::string rollbackHeader(const RollbackRecord& record) {
    const std::u8string path = record.file.u8string();
    std::string header(kMagic);
    header += "file " + std::to_string(path.size()) + "\n";
    header.append(reinterpret_cast<const char*>(path.data()), path.size());
    header += "\nold " + std::to_string(record.oldSize) + " " + inBase(record.oldHash, 16) + "\n";
    header += "new " + std::to_string(record.newSize) + " " + inBase(record.newHash, 16) + "\n";
    header += "mode " + inBase(record.mode, 8) + "\n\n";
    return header;
}

std::optional<RollbackRecord> parseRollback(std::string_view bytes) {
    if (!bytes.starts_with(kMagic)) return std::nullopt;
    std::string_view rest = bytes.substr(kMagic.size());
    if (!rest.starts_with("file ")) return std::nullopt;
    rest.remove_prefix(5);
    std::size_t length = 0;
    const char* end = rest.data() + rest.size();
    const auto [p, e] = std::from_chars(rest.data(), end, length);
    if (e != std::errc() || p == end || *p != '\n') return std::nullopt;
    rest.remove_prefix(static_cast<std::size_t>(p + 1 - rest.data()));
    if (rest.size() < length + 1 || rest[length] != '\n') return std::nullopt;
    RollbackRecord record;
    const std::string_view path = rest.substr(0, length);
    record.file = std::filesystem::path(std::u8string(path.begin(), path.end()));
    rest.remove_prefix(length + 1);
    if (!takeSizeAndHash(rest, "old ", record.oldSize, record.oldHash) ||
        !takeSizeAndHash(rest, "new ", record.newSize, record.newHash) || !rest.starts_with("mode "))
        return std::nullopt;
    rest.remove_prefix(5);
    const auto [m, f] = std::from_chars(rest.data(), rest.data() + rest.size(), record.mode, 8);
    if (f != std::errc() || !std::string_view(m, static_cast<std::size_t>(rest.data() + rest.size() - m)).starts_with("\n\n"))
        return std::nullopt;
    rest.remove_prefix(static_cast<std::size_t>(m - rest.data()) + 2);
    if (rest.size() != record.oldSize || hashBytes(rest) != record.oldHash) return std::nullopt;
    record.oldBytes.assign(rest);
    return record;
}

std::optional<std::filesystem::path> writeRollbackCopy(const std::filesystem::path& file, std::string_view oldBytes,
                                                       std::string_view newBytes, std::uint32_t mode,
                                                       const WriteFaults& faults) {
    const auto folder = rollbackFolder();
    const auto refuse = [&folder](const std::string& why) {
        platform::setLastReason(platform::shownPath(folder) + ": " + why);
        return std::nullopt;
    };
    if (folder.empty()) return refuse("the system names no folder for the user's data");
    if (faults.failRollback) return refuse(platform::reasonFor(platform::Fault::accessDenied));
    std::error_code error;
    if (std::filesystem::create_directories(folder, error))
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all, error);  // its own user's
    if (error) return refuse(error.message());

    std::error_code ignored;
    const RollbackRecord record{std::filesystem::absolute(file, ignored), oldBytes.size(), hashBytes(oldBytes),
                                newBytes.size(), hashBytes(newBytes), mode, {}};
    static std::atomic<unsigned> counter{0};
    const unsigned first = counter.fetch_add(100);
    const std::string base = file.filename().string() + "." + std::to_string(platform::currentProcess()) + "-";
    return savesteps::writeFlushedAs(
        folder, base, rollbackHeader(record), oldBytes,
        [&](unsigned attempt) { return folder / (base + std::to_string(first + attempt) + std::string(kSuffix)); },
        nullptr, WriteFaults::Step::rollbackUnnamed, faults);
}

unsigned long rollbackOwner(std::string_view name) {
    if (!name.ends_with(kSuffix)) return 0;
    name.remove_suffix(kSuffix.size());
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) return 0;
    const std::string_view number = name.substr(dot + 1);
    unsigned long process = 0;
    const auto [p, e] = std::from_chars(number.data(), number.data() + number.size(), process);
    if (e != std::errc() || p == number.data() + number.size() || *p != '-') return 0;
    return process;
}
