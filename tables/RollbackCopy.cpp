#include "RollbackCopy.h"

#include <atomic>
#include <charconv>
#include <system_error>

#include "SaveSteps.h"
#include "TextFilePlatform.h"

namespace {

std::filesystem::path gAppDataForTests;

// The first line; its number changes with the layout or the hash.
constexpr std::string_view kMagic = "varnex rollback copy 2\n";
constexpr std::string_view kSuffix = ".rollback";

std::string inBase(std::uint64_t value, int base) {
    char text[24];
    const auto end = std::to_chars(text, text + sizeof text, value, base).ptr;
    return std::string(text, end);
}

// Takes "<word><first>\n", or "<word><first> <second>\n" with the second in the given
// base, off the front.
bool takeNumbers(std::string_view& rest, std::string_view word, std::uint64_t& first, int base = 10,
                 std::uint64_t* second = nullptr) {
    if (!rest.starts_with(word)) return false;
    rest.remove_prefix(word.size());
    const char* end = rest.data() + rest.size();
    auto [p, e] = std::from_chars(rest.data(), end, first);
    if (e != std::errc() || p == end) return false;
    if (second) {
        if (*p != ' ') return false;
        auto [q, f] = std::from_chars(p + 1, end, *second, base);
        if (f != std::errc()) return false;
        p = q;
    }
    if (p == end || *p != '\n') return false;
    rest.remove_prefix(static_cast<std::size_t>(p + 1 - rest.data()));
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

namespace {

std::string rollbackHeader(const std::filesystem::path& file, const platform::FileIdentity& identity,
                           std::uint32_t mode, std::string_view oldBytes, std::string_view newBytes) {
    const std::u8string path = file.u8string();
    std::string header(kMagic);
    header += "file " + std::to_string(path.size()) + "\n";
    header.append(reinterpret_cast<const char*>(path.data()), path.size());
    header += "\nid " + std::to_string(identity.device) + " " + std::to_string(identity.inode) + "\n";
    header += "old " + std::to_string(oldBytes.size()) + " " + inBase(hashBytes(oldBytes), 16) + "\n";
    header += "new " + std::to_string(newBytes.size()) + " " + inBase(hashBytes(newBytes), 16) + "\n";
    header += "mode " + inBase(mode, 8) + "\n\n";
    return header;
}

}  // namespace

std::string rollbackBytes(const RollbackRecord& r) {
    return rollbackHeader(r.file, r.identity, r.mode, r.oldBytes, r.newBytes) + r.oldBytes + r.newBytes;
}

std::optional<RollbackRecord> parseRollback(std::string_view bytes) {
    if (!bytes.starts_with(kMagic)) return std::nullopt;
    std::string_view rest = bytes.substr(kMagic.size());
    std::uint64_t length = 0;
    if (!takeNumbers(rest, "file ", length)) return std::nullopt;
    if (rest.size() < length + 1 || rest[length] != '\n') return std::nullopt;
    RollbackRecord record;
    const std::string_view path = rest.substr(0, length);
    record.file = std::filesystem::path(std::u8string(path.begin(), path.end()));
    rest.remove_prefix(length + 1);
    std::uint64_t oldSize = 0, oldHash = 0, newSize = 0, newHash = 0, mode = 0;
    if (!takeNumbers(rest, "id ", record.identity.device, 10, &record.identity.inode) ||
        !takeNumbers(rest, "old ", oldSize, 16, &oldHash) || !takeNumbers(rest, "new ", newSize, 16, &newHash) ||
        !rest.starts_with("mode "))
        return std::nullopt;
    rest.remove_prefix(5);
    const auto [m, f] = std::from_chars(rest.data(), rest.data() + rest.size(), mode, 8);
    if (f != std::errc() || mode > 07777 ||
        !std::string_view(m, static_cast<std::size_t>(rest.data() + rest.size() - m)).starts_with("\n\n"))
        return std::nullopt;
    record.mode = static_cast<std::uint32_t>(mode);
    rest.remove_prefix(static_cast<std::size_t>(m - rest.data()) + 2);
    if (oldSize > rest.size() || rest.size() - oldSize != newSize) return std::nullopt;
    const std::string_view oldBytes = rest.substr(0, oldSize);
    const std::string_view newBytes = rest.substr(oldSize);
    if (hashBytes(oldBytes) != oldHash || hashBytes(newBytes) != newHash) return std::nullopt;
    record.oldBytes.assign(oldBytes);
    record.newBytes.assign(newBytes);
    return record;
}

std::optional<HeldRollback> writeRollbackCopy(const std::filesystem::path& file, const platform::FileIdentity& identity,
                                              std::uint32_t mode, std::string_view oldBytes,
                                              std::string_view newBytes, const WriteFaults& faults) {
    const auto path = rollbackFolder();
    const auto refuse = [&path](const std::string& why) {
        platform::setLastReason(platform::shownPath(path) + ": " + why);
        return std::nullopt;
    };
    if (path.empty()) return refuse("the system names no folder for the user's data");
    if (faults.failRollback) return refuse(platform::reasonFor(platform::Fault::accessDenied));
    std::error_code error;
    std::filesystem::create_directories(path.parent_path(), error);
    if (error) return refuse(error.message());
    if (!platform::makeOwnFolder(path)) return refuse(platform::lastReason());
    // A folder another user may change would hand the next start copies it must not
    // trust; such a folder is not used at all.
    platform::Folder folder = platform::Folder::open(path, platform::Folder::Trust::own);
    if (!folder.valid()) return refuse(platform::lastReason());

    static std::atomic<unsigned> counter{0};
    const unsigned first = counter.fetch_add(100);
    const std::string header =
        rollbackHeader(std::filesystem::absolute(file, error), identity, mode, oldBytes, newBytes);
    const std::string name = file.filename().string();
    const std::string base = name + "." + std::to_string(platform::currentProcess()) + "-";
    auto written = savesteps::writeFlushedAs(
        folder, name, {header, oldBytes, newBytes},
        [&](unsigned attempt) { return std::filesystem::path(base + std::to_string(first + attempt) + std::string(kSuffix)); },
        nullptr, WriteFaults::Step::rollbackUnnamed, faults);
    if (!written) return std::nullopt;
    return HeldRollback(std::move(folder), std::move(written->name), std::move(written->file));
}

bool isRollbackName(std::string_view name) { return name.size() > kSuffix.size() && name.ends_with(kSuffix); }

std::filesystem::path keptName(const std::filesystem::path& copy) {
    std::string name = copy.filename().string();
    if (isRollbackName(name)) name.resize(name.size() - kSuffix.size());
    return name + ".kept";
}

std::string keptCopyOf(std::string_view name, unsigned long long* number) {
    constexpr std::string_view kKept = ".kept";
    if (!name.ends_with(kKept)) return {};
    name.remove_suffix(kKept.size());
    // ".<process>-<n>" off the end: digits, a dash, digits, after the last dot.
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos || dot == 0) return {};
    const std::string_view numbers = name.substr(dot + 1);
    const auto dash = numbers.find('-');
    const auto digits = [](std::string_view part) {
        return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
    };
    if (dash == std::string_view::npos || !digits(numbers.substr(0, dash)) || !digits(numbers.substr(dash + 1)))
        return {};
    if (number) std::from_chars(numbers.data() + dash + 1, numbers.data() + numbers.size(), *number);
    return std::string(name.substr(0, dot));
}
