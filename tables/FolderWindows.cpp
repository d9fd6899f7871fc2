// Folders held open on Windows. The folder's handle shares no deletion, so the folder
// cannot be renamed or removed while it is held; its names are then reached through
// its path. A trusted folder, and every file opened in it, must be no reparse point
// (a symbolic link or junction), and is opened as one should it be, never followed.
// Files made here share nothing but deletion: while the maker holds one, no other
// process can open it to read or write, and its lock (File::tryLock) says the rest.
#include "WindowsReasons.h"
// After windows.h, which they need.
#include <sddl.h>

#include <string>
#include <utility>

#include "TextFilePlatform.h"

namespace platform {
namespace {

using windows::failed;
using windows::handle;

bool refusedWindows(const std::string& reason) {
    setLastReason(reason);
    return false;
}

bool isLink(DWORD attributes) { return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0; }

// An access list that lets this user alone in, for files that are to be private
// until they are given the access rights of the file they belong with. Empty where
// the system will not say who the user is: the folder's own rights then hold.
class PrivateAccess {
public:
    PrivateAccess() {
        HANDLE token = nullptr;
        if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) return;
        DWORD size = 0;
        ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
        std::string buffer(size, '\0');
        wchar_t* sid = nullptr;
        if (size && ::GetTokenInformation(token, TokenUser, buffer.data(), size, &size) &&
            ::ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid, &sid)) {
            // Protected: nothing inherited from the folder; full access for the user.
            const std::wstring text = L"D:P(A;;FA;;;" + std::wstring(sid) + L")";
            ::ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1, &descriptor_, nullptr);
            ::LocalFree(sid);
        }
        ::CloseHandle(token);
    }
    ~PrivateAccess() {
        if (descriptor_) ::LocalFree(descriptor_);
    }
    PrivateAccess(const PrivateAccess&) = delete;
    PrivateAccess& operator=(const PrivateAccess&) = delete;

    SECURITY_ATTRIBUTES* attributes() {
        if (!descriptor_) return nullptr;
        attributes_ = {sizeof attributes_, descriptor_, FALSE};
        return &attributes_;
    }

private:
    PSECURITY_DESCRIPTOR descriptor_ = nullptr;
    SECURITY_ATTRIBUTES attributes_{};
};

bool identityOf(const Path& path, FileIdentity& identity) {
    // Reading attributes shares with every other opening, even one that shares nothing.
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, windows::kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return failed();
    BY_HANDLE_FILE_INFORMATION info{};
    const bool ok = ::GetFileInformationByHandle(h, &info) || failed();
    ::CloseHandle(h);
    identity = {info.dwVolumeSerialNumber, (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return ok;
}

// The file opened, when it is a regular file and no link; else none, with the reason.
File regularOrNone(HANDLE h) {
    if (h == INVALID_HANDLE_VALUE) return failed(), File();
    File file(reinterpret_cast<std::intptr_t>(h));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) return failed(), File();
    if (isLink(info.dwFileAttributes)) return refusedWindows("it is a symbolic link or junction"), File();
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || ::GetFileType(h) != FILE_TYPE_DISK)
        return refusedWindows("not a regular file"), File();
    return file;
}

}  // namespace

Folder Folder::open(const Path& path, Trust trust) {
    Folder folder;
    folder.path_ = path;
    folder.trust_ = trust;
    const bool own = trust == Trust::own;
    HANDLE h = ::CreateFileW(path.empty() ? L"." : path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | (own ? FILE_FLAG_OPEN_REPARSE_POINT : 0),
                             nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        failed();
        return folder;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) {
        failed();
    } else if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        failed(ERROR_DIRECTORY);
    } else if (own && isLink(info.dwFileAttributes)) {
        refusedWindows("it is a symbolic link or junction");
    } else {
        folder.native_ = reinterpret_cast<std::intptr_t>(h);
        return folder;
    }
    ::CloseHandle(h);
    return folder;
}

void Folder::release() {
    if (valid()) ::CloseHandle(reinterpret_cast<HANDLE>(std::exchange(native_, kInvalid)));
}

std::vector<Path> Folder::list() const {
    std::vector<Path> names;
    if (!valid()) return names;
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((path_ / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.emplace_back(name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return names;
}

File Folder::openFile(const Path& name) const {
    const Path full = path_ / name;
    constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT;
    HANDLE h = ::CreateFileW(full.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                             kFlags, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)
        h = ::CreateFileW(full.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, kFlags, nullptr);
    return regularOrNone(h);
}

File Folder::openToRead(const Path& name) const {
    // Shared with every other opening, as any reader's; its access list is read too
    // where the system allows, for the files made in its place.
    const Path full = path_ / name;
    // A folder opens too, and is then refused as no regular file.
    constexpr DWORD kFlags = FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS;
    HANDLE h = ::CreateFileW(full.c_str(), GENERIC_READ | READ_CONTROL, windows::kShareAll, nullptr, OPEN_EXISTING,
                             kFlags, nullptr);
    if (h == INVALID_HANDLE_VALUE && ::GetLastError() == ERROR_ACCESS_DENIED)
        h = ::CreateFileW(full.c_str(), GENERIC_READ, windows::kShareAll, nullptr, OPEN_EXISTING, kFlags, nullptr);
    return regularOrNone(h);
}

File Folder::openToUpdate(const Path& name) const {
    return regularOrNone(::CreateFileW((path_ / name).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                       nullptr));
}

bool Folder::missing(const Path& name) const {
    if (::GetFileAttributesW((path_ / name).c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

bool Folder::infoOf(const Path& name, FileInfo& out) const {
    HANDLE h = ::CreateFileW((path_ / name).c_str(), FILE_READ_ATTRIBUTES, windows::kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return failed();
    const File file(reinterpret_cast<std::intptr_t>(h));
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file.info(out) || !::GetFileInformationByHandle(h, &info)) return false;
    if (isLink(info.dwFileAttributes)) out.regular = false;
    return true;
}

bool Folder::mayReplace(const Path&, const File& file) const {
    // The read-only attribute is Windows' write protection; a rename would ignore it.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle(file), &info)) return failed();
    if (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
        return refusedWindows("the file is write-protected (read-only attribute)");
    return true;
}

File Folder::createLocked(const std::string& base, bool privateAccess, Path& made) const {
    PrivateAccess access;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        made = temporaryName(base, currentProcess(), attempt);
        HANDLE h = ::CreateFileW((path_ / made).c_str(), GENERIC_READ | GENERIC_WRITE | READ_CONTROL | WRITE_DAC,
                                 FILE_SHARE_DELETE, privateAccess ? access.attributes() : nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            failed(error);
            return File();
        }
        // Nobody else can open it before the lock: it shares nothing but deletion.
        File file(reinterpret_cast<std::intptr_t>(h));
        if (file.tryLock()) return file;
        return File();
    }
    failed(ERROR_FILE_EXISTS);
    return File();
}

bool Folder::holds(const Path& name, const File& file) const {
    FileIdentity named;
    FileInfo open;
    if (!identityOf(path_ / name, named) || !file.info(open)) return false;
    return named == open.identity || refusedWindows("another file has taken its name");
}

bool Folder::nameIfFree(const Path& from, const Path& to, bool& taken) const {
    // Without MOVEFILE_REPLACE_EXISTING a name that is taken is never replaced.
    taken = false;
    if (::MoveFileExW((path_ / from).c_str(), (path_ / to).c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    const DWORD error = ::GetLastError();
    taken = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
    return failed(error);
}

bool Folder::replace(const Path& from, const Path& to) const {
    FileIdentity moved;
    const bool observed = syncObserved() && identityOf(path_ / from, moved);
    if (!::MoveFileExW((path_ / from).c_str(), (path_ / to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return failed();
    if (observed) noteSync("rename", moved);
    return true;
}

bool Folder::remove(const Path& name) const { return ::DeleteFileW((path_ / name).c_str()) || failed(); }

void Folder::sync() const {
    // MOVEFILE_WRITE_THROUGH has already made each rename durable.
}

}  // namespace platform
