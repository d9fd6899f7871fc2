// The file layer on POSIX systems (Linux, the BSDs, macOS).
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
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
using posix::octal;

int fd(const File& file) { return static_cast<int>(file.native()); }

std::int64_t modifiedNanoseconds(const struct stat& info) {
#if defined(__APPLE__)
    const auto& time = info.st_mtimespec;
#else
    const auto& time = info.st_mtim;
#endif
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

FileInfo infoFrom(const struct stat& info) {
    return {S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_size), modifiedNanoseconds(info),
            {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}};
}

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

namespace {

bool inGroup(gid_t group) {
    if (::getegid() == group) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
    return n > 0 && std::find(groups.begin(), groups.begin() + n, group) != groups.begin() + n;
}

}  // namespace

bool File::writingKeepsMode() const {
    struct stat info {};
    if (::fstat(fd(*this), &info) != 0) return failed();
    const bool cleared = (info.st_mode & S_ISUID) || ((info.st_mode & S_ISGID) && (info.st_mode & S_IXGRP));
    // The owner may set them again (the set-group-ID bit only in the file's group);
    // root keeps them.
    if (!cleared || ::geteuid() == 0) return true;
    if (::geteuid() == info.st_uid && (!(info.st_mode & S_ISGID) || inGroup(info.st_gid))) return true;
    setLastReason("rewriting it in place would clear its set-user-ID or set-group-ID bit (mode " +
                  octal(info.st_mode) + "), which this user may not set again");
    return false;
}

std::uint32_t File::modeNow() const {
    struct stat info {};
    return ::fstat(fd(*this), &info) == 0 ? static_cast<std::uint32_t>(info.st_mode & 07777) : 0;
}

bool File::restoreMode(std::uint32_t mode) const {
    if (modeNow() == mode) return true;
    if (::fchmod(fd(*this), static_cast<mode_t>(mode)) != 0) return failed();
    if (modeNow() == mode) return true;
    setLastReason("its mode " + octal(mode) + " cannot be given back");
    return false;
}

bool File::copyAccessFrom(const Path& from) const {
    struct stat old {};
    if (::stat(from.c_str(), &old) != 0 || !S_ISREG(old.st_mode)) return true;
    // The owner first: changing it may clear set-id bits, which the mode then restores.
    // Only a privileged process may give a file away (EPERM otherwise); a member of
    // the old group may still give it that group. The system drops a set-group-ID bit
    // this process may not set, so what it kept is looked at afterwards.
    if (::fchown(fd(*this), old.st_uid, old.st_gid) != 0)
        (void)::fchown(fd(*this), static_cast<uid_t>(-1), old.st_gid);
    (void)::fchmod(fd(*this), old.st_mode & 07777);
    struct stat now {};
    if (::fstat(fd(*this), &now) != 0) return failed();
    if (now.st_uid == old.st_uid && now.st_gid == old.st_gid && (now.st_mode & 07777) == (old.st_mode & 07777))
        return true;
    setLastReason("the new file cannot be given the old owner, group and mode (user " + std::to_string(old.st_uid) +
              ", group " + std::to_string(old.st_gid) + ", mode " + octal(old.st_mode) + ")");
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

File openForUpdate(const Path& path) {
    return opened(::open(path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
}

bool mayReplace(const Path& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return failed();
    // Root may write any file, so asking the system (access) would not do: the file's
    // own mode says whether it is meant to be written.
    if (!(info.st_mode & S_IWUSR)) {
        setLastReason("the file is write-protected (mode " + octal(info.st_mode) + ")");
        return false;
    }
    return ::access(path.c_str(), W_OK) == 0 || failed();
}

bool removeFile(const Path& path) { return ::unlink(path.c_str()) == 0 || failed(); }

bool makeOwnFolder(const Path& path) {
    // Made for its user alone from the start, not opened up by the umask first.
    return ::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST || failed();
}

unsigned long currentProcess() { return static_cast<unsigned long>(::getpid()); }

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
