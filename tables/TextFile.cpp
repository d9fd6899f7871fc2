#include "TextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "TableError.h"

namespace {

WriteFaults gFaults;

// Closes the descriptor it holds, whatever way the scope is left.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() { close(); }
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

std::string readWholeFile(const std::filesystem::path& path, const std::string& label) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (!file.valid() || ::fstat(file.get(), &info) != 0 || S_ISDIR(info.st_mode))
        throw TableError(cannotOpenMessage(label));
    std::string bytes;
    if (S_ISREG(info.st_mode)) bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(file.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw TableError(cannotOpenMessage(label));
        if (n == 0) break;
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes,
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
    ok = file.close() && ok;
    ok = ok && !faults.failRename && ::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temporary.c_str());
        throw failure();
    }
    syncFolder(path.parent_path());
}

void setWriteFaultsForTesting(const WriteFaults& faults) { gFaults = faults; }

std::string monsterFileLabel() { return (std::filesystem::path("data") / "monster.txt").string(); }
std::string spawnFileLabel() { return (std::filesystem::path("data") / "Quarnel.txt").string(); }
