// The file layer on POSIX systems (Linux, the BSDs, macOS).
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <system_error>
#include <vector>

#include "TextFilePlatform.h"

namespace platform {
namespace {

thread_local std::string gReason;

bool failed() {
    gReason = std::generic_category().message(errno);
    return false;
}

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
    return {S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_size), modifiedNanoseconds(info)};
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
void setLastReason(std::string reason) { gReason = std::move(reason); }

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

bool File::flushToDisk() const { return ::fsync(fd(*this)) == 0 || failed(); }

namespace {

std::string octal(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}

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
    gReason = "rewriting it in place would clear its set-user-ID or set-group-ID bit (mode " + octal(info.st_mode) +
              "), which this user may not set again";
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
    gReason = "its mode " + octal(mode) + " cannot be given back";
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
    gReason = "the new file cannot be given the old owner, group and mode (user " + std::to_string(old.st_uid) +
              ", group " + std::to_string(old.st_gid) + ", mode " + octal(old.st_mode) + ")";
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

File openForUpdate(const Path& path) { return opened(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC)); }

File createTemporaryBeside(const Path& target, Path& made) {
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        made = temporaryName(target, static_cast<unsigned long>(::getpid()), attempt);
        const int descriptor = ::open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) return File(descriptor);
        if (errno != EEXIST) break;
    }
    failed();
    return File();
}

bool mayReplace(const Path& path) { return ::access(path.c_str(), W_OK) == 0 || failed(); }

bool replaceFile(const Path& from, const Path& to) { return ::rename(from.c_str(), to.c_str()) == 0 || failed(); }

bool nameIfFree(const Path& from, const Path& to, bool& taken) {
    // A second name, then the first one gone: a name that is taken is never replaced.
    taken = false;
    if (::link(from.c_str(), to.c_str()) == 0) return ::unlink(from.c_str()) == 0 || failed();
    if (errno == EEXIST) {
        taken = true;
        return failed();
    }
    // A file system without hard links (FAT, some network shares): look, then rename.
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EXDEV) return failed();
    struct stat info {};
    if (::lstat(to.c_str(), &info) == 0) {
        taken = true;
        errno = EEXIST;
        return failed();
    }
    return replaceFile(from, to);
}

bool removeFile(const Path& path) { return ::unlink(path.c_str()) == 0 || failed(); }

void syncFolder(const Path& folder) {
    // A file system that cannot do this still has the complete new file, so a failure
    // here is not a failure of the save.
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return;
    ::fsync(dir);
    ::close(dir);
}

unsigned long currentProcess() { return static_cast<unsigned long>(::getpid()); }

bool processRunning(unsigned long process) {
    // 0 and numbers beyond pid_t would signal a group of processes, not one.
    if (process == 0 || process > static_cast<unsigned long>(INT_MAX)) return false;
    return ::kill(static_cast<pid_t>(process), 0) == 0 || errno == EPERM;
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
