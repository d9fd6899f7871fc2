// Root working in a folder of another user's with that user's rights (FolderOwnerRights
// in TextFilePlatform.h). Linux gives each thread file-system user and group IDs of its
// own (setfsuid, setfsgid) and, through the raw system call, groups of its own, so the
// rights change for the file operations of the thread that saves, and for nothing else
// the process does meanwhile. Systems without them keep root's rights; the save's other
// safeguards (the file opened once, its identity checked, no set-id bits) still hold.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>
#include <system_error>
#include <type_traits>

#include "PosixReasons.h"
#include "TextFilePlatform.h"

#ifdef __linux__
#include <grp.h>
#include <pwd.h>
#include <sys/fsuid.h>
#include <sys/syscall.h>
#endif

namespace platform {

#ifdef __linux__
namespace {

static_assert(std::is_same_v<uid_t, std::uint32_t> && std::is_same_v<gid_t, std::uint32_t>);

struct OtherOwner {
    uid_t user = 0;
    Path folder;
};

// The nearest folder on the way to the file, its own folder first, that belongs to
// another user than root; looked for along the path as it reads (a link there leads
// through its folder) and along the path as the system resolves it.
std::optional<OtherOwner> otherUsersFolder(const Path& file) {
    std::error_code error;
    const Path named = std::filesystem::absolute(file, error).lexically_normal().parent_path();
    std::vector<Path> starts{named};
    if (const Path real = std::filesystem::weakly_canonical(named, error); !error && real != named) starts.push_back(real);
    for (Path folder : starts) {
        for (;;) {
            struct stat info {};
            if (::stat(folder.c_str(), &info) == 0 && info.st_uid != 0) return OtherOwner{info.st_uid, folder};
            if (folder.parent_path() == folder || folder.empty()) break;
            folder = folder.parent_path();
        }
    }
    return std::nullopt;
}

std::vector<gid_t> threadGroups() {
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int n = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(n, 0)));
    return groups;
}

}  // namespace

FolderOwnerRights::FolderOwnerRights(const std::vector<Path>& files) {
    // Only root's rights reach further than the owner's; and rights taken already
    // (setfsuid(-1) only asks) stay as they are.
    if (::geteuid() != 0 || ::setfsuid(static_cast<uid_t>(-1)) != 0) return;
    std::optional<OtherOwner> owner;
    for (const Path& file : files)
        if ((owner = otherUsersFolder(file))) break;
    if (!owner) return;
    user_ = owner->user;
    std::string name = std::to_string(user_);
    // A user the system does not know gets no group's rights but the overflow group's.
    group_ = 65534;
    std::vector<char> buffer(16384);
    struct passwd entry {};
    struct passwd* found = nullptr;
    if (::getpwuid_r(user_, &entry, buffer.data(), buffer.size(), &found) == 0 && found) {
        name = found->pw_name;
        group_ = found->pw_gid;
        int count = 32;
        groups_.resize(static_cast<std::size_t>(count));
        while (::getgrouplist(found->pw_name, group_, groups_.data(), &count) < 0)
            groups_.resize(static_cast<std::size_t>(count));
        groups_.resize(static_cast<std::size_t>(count));
    }
    ownGroups_ = threadGroups();
    const std::string who = "user " + name + ", who owns " + shownPath(owner->folder);
    taken_ = take();
    if (taken_) {
        whose_ = "the editor works there with the rights of " + who;
        return;
    }
    why_ = "the editor runs as root and cannot take the rights of " + who + " (" + lastReason() + ")";
    giveBack();
}

FolderOwnerRights::~FolderOwnerRights() {
    if (taken_) giveBack();
}

bool FolderOwnerRights::take() const {
    // The groups first, while the thread may still set them; the raw call changes this
    // thread's alone (the C library's would change every thread's).
    if (::syscall(SYS_setgroups, groups_.size(), groups_.data()) != 0) return posix::failed();
    ::setfsgid(group_);
    ::setfsuid(user_);
    if (::setfsuid(static_cast<uid_t>(-1)) == static_cast<int>(user_) &&
        ::setfsgid(static_cast<gid_t>(-1)) == static_cast<int>(group_))
        return true;
    return posix::refused(std::generic_category().message(EPERM));
}

void FolderOwnerRights::giveBack() const {
    ::setfsuid(::geteuid());
    ::setfsgid(::getegid());
    ::syscall(SYS_setgroups, ownGroups_.size(), ownGroups_.data());
}

#else

FolderOwnerRights::FolderOwnerRights(const std::vector<Path>&) {}
FolderOwnerRights::~FolderOwnerRights() = default;
bool FolderOwnerRights::take() const { return true; }
void FolderOwnerRights::giveBack() const {}

#endif

FolderOwnerRights::Paused::Paused(const FolderOwnerRights& rights) : rights_(rights) {
    if (rights_.taken_) rights_.giveBack();
}

FolderOwnerRights::Paused::~Paused() {
    if (rights_.taken_) rights_.take();
}

}  // namespace platform
