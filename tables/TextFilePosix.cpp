// The file layer on POSIX systems (Linux, the BSDs, macOS).
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "PosixReasons.h"
#include "TextFilePlatform.h"

namespace platform {
namespace {

thread_local std::string gReason;
thread_local bool gBusy = false;

using posix::failed;
using posix::infoFrom;
using posix::octal;

int fd(const File& file) { return static_cast<int>(file.native()); }

File opened(int descriptor) {
    if (descriptor < 0) failed();
    return File(descriptor);
}

std::optional<Path> readLink(const Path& link) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), buffer.data(), buffer.size());
        if (n < 0) {
            failed();
            return std::nullopt;
        }
        if (static_cast<std::size_t>(n) < buffer.size()) return Path(std::string(buffer.data(), static_cast<std::size_t>(n)));
        buffer.resize(buffer.size() * 4);
    }
}

}  // namespace

const std::string& lastReason() { return gReason; }
void setLastReason(std::string reason) {
    gReason = std::move(reason);
    gBusy = false;
}
bool busy() { return gBusy; }

std::string reasonFor(Fault fault) {
    switch (fault) {
        case Fault::diskFull: return std::generic_category().message(ENOSPC);
        case Fault::ioError: return std::generic_category().message(EIO);
        case Fault::accessDenied: return std::generic_category().message(EACCES);
    }
    return {};
}

bool File::close() {
    if (native_ == kInvalid) return true;
    const int result = ::close(static_cast<int>(native_));
    native_ = kInvalid;
    return result == 0 || failed();
}

bool File::info(FileInfo& out) const {
    struct stat info {};
    if (::fstat(fd(*this), &info) != 0) return failed();
    out = infoFrom(info);
    return true;
}

bool File::readAt(std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got) const {
    for (;;) {
        const ssize_t n = ::pread(fd(*this), buffer, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed();
        got = static_cast<std::size_t>(n);
        return true;
    }
}

bool File::writeAt(std::uint64_t offset, std::string_view bytes) const {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::pwrite(fd(*this), bytes.data() + written, bytes.size() - written,
                                   static_cast<off_t>(offset + written));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failed();
        if (n == 0) {
            errno = EIO;
            return failed();
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool File::truncate(std::uint64_t size) const {
    return ::ftruncate(fd(*this), static_cast<off_t>(size)) == 0 || failed();
}

bool File::flushToDisk() const {
    if (::fsync(fd(*this)) != 0) return failed();
    if (syncObserved()) {
        FileInfo flushed;
        if (info(flushed)) noteSync("flush", flushed.identity);
    }
    return true;
}

bool File::tryLock() const {
    // flock belongs to the open file, not to the process, so two openings in one
    // process exclude each other too; it is gone with the last descriptor of it.
    if (::flock(fd(*this), LOCK_EX | LOCK_NB) == 0) return true;
    if (errno != EWOULDBLOCK) return failed();
    gReason = "in use by a save that is running";
    gBusy = true;
    return false;
}

std::uint32_t File::modeNow() const {
    struct stat info {};
    return ::fstat(fd(*this), &info) == 0 ? static_cast<std::uint32_t>(info.st_mode & 07777) : 0;
}

bool File::restoreMode(std::uint32_t mode) const {
    if (modeNow() == mode) return true;
    if (::fchmod(fd(*this), static_cast<mode_t>(mode)) != 0) {
        struct stat info {};
        if (errno != EPERM || ::fstat(fd(*this), &info) != 0) return failed();
        setLastReason(std::generic_category().message(EPERM) + ": only its owner, user " + std::to_string(info.st_uid) +
                      ", may change it");
        return false;
    }
    if (modeNow() == mode) return true;
    setLastReason("its mode " + octal(mode) + " cannot be given back");
    return false;
}

bool File::copyAccessFrom(const File& from) const {
    struct stat old {};
    if (::fstat(fd(from), &old) != 0) return failed();
    const mode_t mode = old.st_mode & 07777 & ~mode_t{S_ISUID | S_ISGID};
    // The owner first: changing it may clear bits, which the mode then sets. Only a
    // privileged process may give a file away (EPERM otherwise); a member of the old
    // group may still give it that group.
    if (::fchown(fd(*this), old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd(*this), static_cast<uid_t>(-1), old.st_gid);
    (void)::fchmod(fd(*this), mode);
    struct stat now {};
    if (::fstat(fd(*this), &now) != 0) return failed();
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid && (now.st_mode & 07777) == mode) return true;
    setLastReason("the new file cannot be given the old owner, group and mode (user " + std::to_string(old.st_uid) +
                  ", group " + std::to_string(old.st_gid) + ", mode " + octal(mode) + ")");
    return false;
}

std::optional<Path> finalTarget(const Path& path) {
    Path current = path;
    for (int hops = 0; hops <= 40; ++hops) {  // the kernel's own limit on a chain
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return current;
        const auto link = readLink(current);
        if (!link) return std::nullopt;
        current = link->is_absolute() ? *link : current.parent_path() / *link;
    }
    errno = ELOOP;
    failed();
    return std::nullopt;
}

bool statPath(const Path& path, FileInfo& out) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return failed();
    out = infoFrom(info);
    return true;
}

bool exists(const Path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0;
}

bool missing(const Path& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR);
}

File openForReading(const Path& path) {
    // O_NONBLOCK: a named pipe put in the file's place does not wait for a writer;
    // reading a regular file ignores it.
    return opened(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

bool makeOwnFolder(const Path& path) {
    // Made for its user alone from the start, not opened up by the umask first.
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST || failed();
}

unsigned long currentProcess() { return static_cast<unsigned long>(::getpid()); }

bool processExists(unsigned long process) {
    // A process of another user answers EPERM: it is there all the same.
    const auto pid = static_cast<pid_t>(process);
    return pid > 0 && static_cast<unsigned long>(pid) == process && (::kill(pid, 0) == 0 || errno == EPERM);
}

Path userDataFolder() {
#if defined(__APPLE__)
    const char* const kBelowHome = "Library/Application Support";
#else
    // Only an absolute XDG_DATA_HOME counts; a relative one is to be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && xdg[0] == '/') return Path(xdg);
    const char* const kBelowHome = ".local/share";
#endif
    if (const char* home = std::getenv("HOME"); home && home[0] == '/') return Path(home) / kBelowHome;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
        return Path(found->pw_dir) / kBelowHome;
    return {};
}

}  // namespace platform
