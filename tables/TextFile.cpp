#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <system_error>
#include <utility>

#include "TableError.h"

namespace {

WriteFaults gFaults;

// Closes the descriptor it holds, whatever way the scope is left.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    bool close() {
        if (fd_ < 0) return true;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, std::string_view bytes, long long failAfterBytes) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        std::size_t chunk = bytes.size() - written;
        if (failAfterBytes >= 0) {
            const auto allowed = static_cast<std::size_t>(failAfterBytes);
            if (written >= allowed) return false;
            chunk = std::min(chunk, allowed - written);
        }
        const ssize_t n = ::write(fd, bytes.data() + written, chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<std::size_t>(n);
    }
    return true;
}

// A name beside the target that no other writer of this process picks at once.
std::filesystem::path temporaryNameFor(const std::filesystem::path& target, int attempt) {
    static std::atomic<unsigned> counter{0};
    auto name = target.filename().string();
    name = "." + name + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
           "-" + std::to_string(attempt);
    return target.parent_path() / name;
}

std::int64_t modifiedNanoseconds(const struct stat& info) {
    return static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec;
}

// The stamp of what stat says, without the bytes' hash.
FileStamp statStamp(const struct stat& info) {
    return {true, static_cast<std::uint64_t>(info.st_size), modifiedNanoseconds(info), 0};
}

std::string systemReason(int error) { return std::generic_category().message(error); }

// Opens a regular file of at most kMaxTableFileBytes for reading; info receives what
// fstat says of it. Nothing here can block: a named pipe is refused by the stat in
// front, and should the name be replaced by one in between, the open does not wait
// for a writer (O_NONBLOCK, which reading a regular file ignores) and the fstat
// refuses it.
FileDescriptor openTableFile(const std::filesystem::path& path, const std::string& label,
                             struct stat& info) {
    const auto refused = [&](const std::string& why) {
        return TableError(cannotOpenMessage(label)).because(path.string() + ": " + why);
    };
    struct stat before {};
    if (::stat(path.c_str(), &before) != 0) throw refused(systemReason(errno));
    if (!S_ISREG(before.st_mode)) throw refused("not a regular file");
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.valid()) throw refused(systemReason(errno));
    if (::fstat(file.get(), &info) != 0) throw refused(systemReason(errno));
    if (!S_ISREG(info.st_mode)) throw refused("not a regular file");
    if (static_cast<std::uint64_t>(info.st_size) > kMaxTableFileBytes) throw refused("larger than 256 MB");
    return file;
}

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
    if (a.empty() || b.empty()) return false;
    const auto canonical = [](const std::filesystem::path& p) {
        std::error_code error;
        auto resolved = std::filesystem::weakly_canonical(p, error);
        return error ? p.lexically_normal() : resolved;
    };
    return canonical(a) == canonical(b);
}

void syncFolder(const std::filesystem::path& folder) {
    // Makes the rename itself durable; a file system that cannot do this still has
    // the complete new file, so a failure here is not an error of the save.
    FileDescriptor dir(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY));
    if (dir.valid()) ::fsync(dir.get());
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
    struct stat info {};
    FileDescriptor file = openTableFile(path, label, info);
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw TableError(cannotOpenMessage(label)).because(path.string() + ": " + systemReason(errno));
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() > kMaxTableFileBytes)
            throw TableError(cannotOpenMessage(label)).because(path.string() + ": larger than 256 MB");
    }
    if (stamp) {
        *stamp = statStamp(info);  // as of the start: a change while reading shows later
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
        // Not readable as a table file: what stat says must do.
    }
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return {};
    return statStamp(info);
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

FileStamp writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                              const std::string& label) {
    const auto failure = [&] { return TableError(cannotCreateMessage(label)); };
    const WriteFaults faults = gFaults;
    // A rename would replace a write-protected file; honour the protection instead.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) throw failure();

    std::filesystem::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryNameFor(path, attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) throw failure();
    }
    if (fd < 0) throw failure();
    FileDescriptor file(fd);

    struct stat old {};
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(file.get(), old.st_mode & 07777);  // the replacement keeps the old permissions
    bool ok = writeAll(file.get(), bytes, faults.failAfterBytes);
    ok = ok && !faults.failFlush && ::fsync(file.get()) == 0;
    struct stat written {};  // the rename keeps size and modification time
    ok = ok && ::fstat(file.get(), &written) == 0;
    ok = file.close() && ok;
    ok = ok && !faults.failRename && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        throw failure();
    }
    syncFolder(path.parent_path());
    FileStamp stamp = statStamp(written);
    stamp.hash = hashBytes(bytes);
    return stamp;
}

void setWriteFaultsForTesting(const WriteFaults& faults) { gFaults = faults; }

std::string monsterFileLabel() { return (std::filesystem::path("data") / "monster.txt").string(); }
std::string spawnFileLabel() { return (std::filesystem::path("data") / "Quarnel.txt").string(); }
