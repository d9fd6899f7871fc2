#include "TextFile.h"

#include <system_error>

#include "TableError.h"
#include "TextFilePlatform.h"

namespace {

FileStamp statStamp(const platform::FileInfo& info, const std::filesystem::path& path) {
    return {true, info.size, info.modified, 0, platform::finalTarget(path).value_or(path)};
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a.empty() || b.empty()) return false;
    const auto canonical = [](const std::filesystem::path& p) {
        const auto target = platform::finalTarget(p).value_or(p);
        std::error_code error;
        auto resolved = std::filesystem::weakly_canonical(target, error);
        return error ? target.lexically_normal() : resolved;
    };
    return canonical(a) == canonical(b);
}

}  // namespace

std::vector<std::string> splitLines(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos)
        bytes = bytes.substr(0, nul);
    std::vector<std::string> lines;
    const char* const end = bytes.data() + bytes.size();
    const char* start = bytes.data();
    const char* p = start;
    while (p != end) {
        if (*p != '\r' && *p != '\n') {
            ++p;
            continue;
        }
        lines.emplace_back(start, p);
        if (*p == '\r' && p + 1 != end && p[1] == '\n') ++p;
        start = ++p;
    }
    if (start != end) lines.emplace_back(start, end);  // a last line without a break
    return lines;
}

int lineOfFirstNul(std::string_view bytes) {
    const auto nul = bytes.find('\0');
    if (nul == std::string_view::npos) return 0;
    int line = 1;
    for (std::size_t i = 0; i < nul; ++i) {
        if (bytes[i] == '\n' || (bytes[i] == '\r' && !(i + 1 < nul && bytes[i + 1] == '\n'))) ++line;
    }
    return line;
}

std::string joinLinesCrLf(const std::vector<std::string>& lines) {
    std::size_t size = 0;
    for (const auto& line : lines) size += line.size() + 2;
    std::string bytes;
    bytes.reserve(size);
    for (const auto& line : lines) {
        bytes += line;
        bytes += "\r\n";
    }
    return bytes;
}

std::string readWholeFile(const std::filesystem::path& path, const std::string& label,
                          FileStamp* stamp) {
    const auto refused = [&](const std::string& why) {
        return TableError(cannotOpenMessage(label)).because(platform::shownPath(path) + ": " + why);
    };
    // A named pipe or a device is refused by its name before it is opened, and should
    // the name be replaced by one in between, the open does not wait and the check of
    // what was opened refuses it.
    platform::FileInfo info;
    if (!platform::statPath(path, info)) throw refused(platform::lastReason());
    if (!info.regular) throw refused("not a regular file");
    const platform::File file = platform::openForReading(path);
    if (!file.valid() || !file.info(info)) throw refused(platform::lastReason());
    if (!info.regular) throw refused("not a regular file");
    if (info.size > kMaxTableFileBytes) throw refused("larger than 256 MB");
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.size));
    char buffer[65536];
    for (;;) {
        std::size_t got = 0;
        if (!file.readSome(buffer, sizeof buffer, got)) throw refused(platform::lastReason());
        if (got == 0) break;
        bytes.append(buffer, got);
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() > kMaxTableFileBytes) throw refused("larger than 256 MB");
    }
    if (stamp) {
        *stamp = statStamp(info, path);  // as of the start: a change while reading shows later
        stamp->hash = hashBytes(bytes);
    }
    return bytes;
}

std::uint64_t hashBytes(std::string_view bytes) {
    // FNV-1a: enough to tell another program's edit from the bytes the editor saw.
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const char c : bytes) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 0x100000001b3ull;
    }
    return hash;
}

FileStamp stampFile(const std::filesystem::path& path) {
    FileStamp stamp;
    try {
        readWholeFile(path, path.string(), &stamp);
        return stamp;
    } catch (const TableError&) {
        // Not readable as a table file: what the system says of it must do.
    }
    platform::FileInfo info;
    if (!platform::statPath(path, info)) return {};
    return statStamp(info, path);
}

bool SeenFile::changedAt(const std::filesystem::path& at) const {
    const FileStamp now = stampFile(at);
    if (!sameFile(path, at)) return now.exists;
    return now != stamp;
}

void SeenFile::retarget(const std::filesystem::path& target) {
    if (sameFile(path, target)) return;
    path = target;
    stamp = stampFile(target);
}

std::string changedFileQuestion(std::string_view label) {
    return std::string(label) +
           " was changed by another program since the editor read it. Overwrite those changes?";
}

std::string monsterFileLabel() { return (std::filesystem::path("data") / "monster.txt").string(); }
std::string spawnFileLabel() { return (std::filesystem::path("data") / "Quarnel.txt").string(); }
