#include "TextFile.h"

#include <algorithm>
#include <cstring>
#include <system_error>

#include "TableError.h"
#include "TextFilePlatform.h"

namespace {

FileStamp statStamp(const platform::FileInfo& info, const std::filesystem::path& path) {
    return {true, info.size, info.modified, 0, platform::finalTarget(path).value_or(path)};
}

// The stamp of the file a save would replace: {} when there is none, else as read now.
FileStamp stampBeforeSave(const std::filesystem::path& path, const std::string& label) {
    if (platform::missing(path)) return {};
    FileStamp stamp;
    readWholeFile(path, label, &stamp);
    return stamp;
}

}  // namespace

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

LineCursor::LineCursor(std::string_view bytes) {
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) bytes = bytes.substr(0, nul);
    p_ = bytes.data();
    end_ = p_ + bytes.size();
}

bool LineCursor::next(std::string_view& line) {
    if (p_ == end_) return false;
    const auto find = [this](char c) {
        const void* hit = std::memchr(p_, c, static_cast<std::size_t>(end_ - p_));
        return hit ? static_cast<const char*>(hit) : end_;
    };
    if (!cr_ || cr_ < p_) cr_ = find('\r');
    if (!lf_ || lf_ < p_) lf_ = find('\n');
    const char* start = p_;
    const char* p = std::min(cr_, lf_);
    line = std::string_view(start, static_cast<std::size_t>(p - start));
    if (p != end_) {
        if (*p == '\r' && p + 1 != end_ && p[1] == '\n') ++p;
        ++p;
    }
    p_ = p;
    return true;
}

std::size_t LineCursor::linesLeftAtMost() const {
    // One pass the compiler can vectorise: this runs over every byte of a table at each read.
    std::size_t breaks = 0;
    for (const char* p = p_; p != end_; ++p) breaks += static_cast<std::size_t>((*p == '\n') | (*p == '\r'));
    return breaks + (p_ != end_ ? 1 : 0);
}

std::vector<std::string> splitLines(std::string_view bytes) {
    std::vector<std::string> lines;
    LineCursor cursor(bytes);
    std::string_view line;
    while (cursor.next(line)) lines.emplace_back(line);
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
    std::string bytes;
    if (!platform::readWhole(file, bytes)) throw refused(platform::lastReason());
    if (stamp) {
        *stamp = statStamp(info, path);  // as of the start: a change while reading shows later
        stamp->hash = hashBytes(bytes);
    }
    return bytes;
}

std::uint64_t hashBytes(std::string_view bytes) {
    // Enough to tell another program's edit from the bytes the editor saw, within a
    // run and, in a rollback copy, from one run to the next (a rollback copy holds the
    // old bytes themselves): eight bytes a step, each step mixed through a multiply
    // and a shift, the last few bytes one at a time. Changing it needs a new version
    // of the rollback copy's format.
    constexpr std::uint64_t kPrime = 0x100000001b3ull;
    std::uint64_t hash = 0xcbf29ce484222325ull ^ bytes.size();
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    for (; left >= 8; p += 8, left -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        hash = (hash ^ word) * 0x9E3779B97F4A7C15ull;
        hash ^= hash >> 32;
    }
    for (; left > 0; ++p, --left) {
        hash ^= static_cast<unsigned char>(*p);
        hash *= kPrime;
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

std::string SeenFile::questionBeforeSave(const std::filesystem::path& target, const std::string& label) const {
    const FileStamp now = stampBeforeSave(target, label);
    if (sameFile(path, target)) return now != stamp ? changedFileQuestion(label) : std::string();
    if (!now.exists) return {};
    if (path.empty() || !stamp.exists) return changedFileQuestion(label);
    if (now.size == stamp.size && now.hash == stamp.hash) return {};
    return otherFileQuestion(target, path);
}

void SeenFile::retarget(const std::filesystem::path& target) {
    if (sameFile(path, target)) return;
    const FileStamp now = stampFile(target);
    if (!now.exists || !stamp.exists || now.size != stamp.size || now.hash != stamp.hash) return;
    path = target;
    stamp = now;
}

std::string changedFileQuestion(std::string_view label) {
    return std::string(label) +
           " was changed by another program since the editor read it. Overwrite those changes?";
}

std::string otherFileQuestion(const std::filesystem::path& target, const std::filesystem::path& read) {
    const std::string replaced = platform::shownPath(target);
    return "The save would replace " + replaced + ", but the editor read " + platform::shownPath(read) +
           " at start-up, and the two files differ. Replace " + replaced + "?";
}

std::string monsterFileLabel() { return (std::filesystem::path("data") / "monster.txt").string(); }
std::string spawnFileLabel() { return (std::filesystem::path("data") / "Quarnel.txt").string(); }
