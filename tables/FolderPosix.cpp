// Folders held open on POSIX systems: every name is looked up relative to the
// folder's descriptor (openat, linkat, renameat, unlinkat), never through a
// symbolic link, so nothing done in the folder can be sent elsewhere by a link or by
// the folder's path changing meanwhile.
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <initializer_list>
#include <string>

#include "PosixReasons.h"
#include "TextFilePlatform.h"

namespace platform {
namespace {

using posix::failed;
using posix::infoFrom;
using posix::octal;
using posix::refused;

// Whether a folder or file of a trusted folder may be trusted: the user's own, and
// no one else's to change. False, with the reason, when not.
bool ownAlone(const struct stat& info) {
    if (info.st_uid != ::geteuid())
        return refused("it belongs to user " + std::to_string(info.st_uid) + ", not to this user (" +
                       std::to_string(::geteuid()) + ")");
    if (info.st_mode & (S_IWGRP | S_IWOTH)) return refused("other users may write to it (mode " + octal(info.st_mode) + ")");
    return true;
}

bool sameInode(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

}  // namespace

Folder Folder::open(const Path& path, Trust trust) {
    Folder folder;
    folder.path_ = path;
    folder.trust_ = trust;
    const bool own = trust == Trust::own;
    const char* name = path.empty() ? "." : path.c_str();
    int descriptor = ::open(name, O_RDONLY | O_DIRECTORY | O_CLOEXEC | (own ? O_NOFOLLOW : 0));
#ifdef O_PATH
    // A folder the user may enter and write to but not list: its names can still be
    // reached through a descriptor that only finds them.
    if (descriptor < 0 && errno == EACCES && !own) descriptor = ::open(name, O_PATH | O_DIRECTORY | O_CLOEXEC);
#endif
    if (descriptor < 0) {
        struct stat link {};
        if (own && ::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode))
            refused("it is a symbolic link");
        else
            failed();
        return folder;
    }
    struct stat info {};
    if (own && (::fstat(descriptor, &info) != 0 ? failed() : !ownAlone(info))) {
        ::close(descriptor);
        return folder;
    }
    folder.native_ = descriptor;
    return folder;
}

void Folder::release() {
    if (valid()) ::close(static_cast<int>(std::exchange(native_, kInvalid)));
}

std::vector<Path> Folder::list() const {
    std::vector<Path> names;
    if (!valid()) return names;
    // fdopendir takes the descriptor over: it gets a copy of its own.
    const int copy = ::dup(static_cast<int>(native_));
    DIR* dir = copy < 0 ? nullptr : ::fdopendir(copy);
    if (!dir) {
        if (copy >= 0) ::close(copy);
        return names;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

namespace {

// A regular file of the folder, no symbolic link, opened with the first of the access
// modes the system allows (a later one is tried on any failure: one that is not of
// the mode fails the same way again); checked to be the file the name led to.
File openRegular(int folder, const Path& name, std::initializer_list<int> modes) {
    struct stat before {};
    if (::fstatat(folder, name.c_str(), &before, AT_SYMLINK_NOFOLLOW) != 0) return failed(), File();
    if (S_ISLNK(before.st_mode)) return refused("it is a symbolic link"), File();
    if (!S_ISREG(before.st_mode)) return refused("not a regular file"), File();
    // Never waits (a pipe put in its place), never becomes a terminal, never follows.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int descriptor = -1;
    for (const int mode : modes)
        if ((descriptor = ::openat(folder, name.c_str(), mode | kFlags)) >= 0) break;
    if (descriptor < 0) return failed(), File();
    File file(descriptor);
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) return failed(), File();
    if (!S_ISREG(info.st_mode) || !sameInode(info, before)) return refused("it changed while it was opened"), File();
    return file;
}

}  // namespace

File Folder::openFile(const Path& name) const {
    File file = openRegular(static_cast<int>(native_), name, {O_RDWR, O_RDONLY});
    if (!file.valid()) return File();
    struct stat info {};
    if (trust_ == Trust::own && (::fstat(static_cast<int>(file.native()), &info) != 0 ? failed() : !ownAlone(info)))
        return File();
    return file;
}

File Folder::openToRead(const Path& name) const { return openRegular(static_cast<int>(native_), name, {O_RDONLY}); }

File Folder::openToUpdate(const Path& name) const { return openRegular(static_cast<int>(native_), name, {O_RDWR}); }

bool Folder::missing(const Path& name) const {
    struct stat info {};
    return ::fstatat(static_cast<int>(native_), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT;
}

bool Folder::infoOf(const Path& name, FileInfo& out) const {
    struct stat info {};
    if (::fstatat(static_cast<int>(native_), name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0) return failed();
    out = infoFrom(info);
    return true;
}

bool Folder::mayReplace(const Path& name, const File& file) const {
    struct stat info {};
    if (::fstat(static_cast<int>(file.native()), &info) != 0) return failed();
    // Root may write any file, so asking the system alone would not do: the file's own
    // mode says whether it is meant to be written.
    if (!(info.st_mode & S_IWUSR)) return refused("the file is write-protected (mode " + octal(info.st_mode) + ")");
    // With the rights the thread works with (FolderOwnerRights), not the real user's.
    return ::faccessat(static_cast<int>(native_), name.c_str(), W_OK, AT_EACCESS) == 0 || failed();
}

File Folder::createLocked(const std::string& base, bool privateAccess, Path& made) const {
    const int folder = static_cast<int>(native_);
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        made = temporaryName(base, currentProcess(), attempt);
        const int descriptor = ::openat(folder, made.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                        privateAccess ? 0600 : 0666);
        if (descriptor < 0) {
            if (errno == EEXIST) continue;
            failed();
            return File();
        }
        File file(descriptor);
        if (!file.tryLock()) {
            if (!busy()) return File();
            // Taken in that instant by a start that deems it left over, or by a look
            // at left-overs: it is not this save's any more.
            remove(made);
            continue;
        }
        // Another start may have removed it as left over in the instant before the
        // lock: then a name of its own is looked for again.
        if (holds(made, file)) return file;
    }
    refused(std::generic_category().message(EEXIST));
    return File();
}

bool Folder::holds(const Path& name, const File& file) const {
    struct stat named {};
    struct stat open {};
    if (::fstatat(static_cast<int>(native_), name.c_str(), &named, AT_SYMLINK_NOFOLLOW) != 0) return failed();
    if (::fstat(static_cast<int>(file.native()), &open) != 0) return failed();
    return sameInode(named, open) || refused("another file has taken its name");
}

bool Folder::nameIfFree(const Path& from, const Path& to, bool& taken) const {
    // A second name: a name that is taken is never replaced.
    const int folder = static_cast<int>(native_);
    taken = false;
    if (::linkat(folder, from.c_str(), folder, to.c_str(), 0) == 0) return true;
    if (errno == EEXIST) {
        taken = true;
        return failed();
    }
    // A file system without hard links (FAT, some network shares): look, then rename.
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP && errno != EXDEV) return failed();
    struct stat info {};
    if (::fstatat(folder, to.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0) {
        taken = true;
        errno = EEXIST;
        return failed();
    }
    return replace(from, to);
}

bool Folder::replace(const Path& from, const Path& to) const {
    const int folder = static_cast<int>(native_);
    struct stat moved {};
    const bool observed = syncObserved() && ::fstatat(folder, from.c_str(), &moved, AT_SYMLINK_NOFOLLOW) == 0;
    if (::renameat(folder, from.c_str(), folder, to.c_str()) != 0) return failed();
    if (observed)
        noteSync("rename", {static_cast<std::uint64_t>(moved.st_dev), static_cast<std::uint64_t>(moved.st_ino)});
    return true;
}

bool Folder::remove(const Path& name) const {
    return ::unlinkat(static_cast<int>(native_), name.c_str(), 0) == 0 || failed();
}

void Folder::sync() const {
    // A file system that cannot do this still has the complete files, so a failure
    // here is no failure of what was written.
    ::fsync(static_cast<int>(native_));
}

}  // namespace platform
