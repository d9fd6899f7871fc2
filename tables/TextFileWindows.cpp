// The file layer on Windows. Paths are wide (std::filesystem::path::c_str() is
// wchar_t here), so any name the system allows works; reasons come from the system
// in its own words, as UTF-8 like every other text of the tables.
#include "WindowsReasons.h"
// After windows.h, which they need.
#include <aclapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "TextFilePlatform.h"

namespace platform {
namespace {

thread_local std::string gReason;
thread_local bool gBusy = false;

}  // namespace

namespace windows {

std::string systemMessage(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
        code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string utf8;
    if (length > 0 && text) {
        const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(std::max(size, 0)));
        ::WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(length), utf8.data(), size, nullptr, nullptr);
    }
    if (text) ::LocalFree(text);
    // "Access is denied.\r\n" reads as "Access is denied", like the other systems' words.
    while (!utf8.empty() && (utf8.back() == '\r' || utf8.back() == '\n' || utf8.back() == ' ' || utf8.back() == '.'))
        utf8.pop_back();
    return utf8.empty() ? "system error " + std::to_string(code) : utf8;
}

bool failed(DWORD code) {
    gReason = systemMessage(code);
    // Another opening that shares nothing with ours, or another's lock.
    gBusy = code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
    return false;
}

}  // namespace windows

namespace {

using windows::failed;
using windows::handle;
using windows::kShareAll;
using windows::systemMessage;

File opened(HANDLE h) {
    if (h == INVALID_HANDLE_VALUE) {
        failed();
        return File();
    }
    return File(reinterpret_cast<std::intptr_t>(h));
}


std::int64_t nanosecondsSince1970(FILETIME time) {
    const std::uint64_t ticks = (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    constexpr std::int64_t k1601To1970 = 116444736000000000;  // in 100 ns ticks
    return (static_cast<std::int64_t>(ticks) - k1601To1970) * 100;
}

bool infoOf(HANDLE h, FileInfo& out) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info)) return failed();
    out.regular = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 && ::GetFileType(h) == FILE_TYPE_DISK;
    out.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    out.modified = nanosecondsSince1970(info.ftLastWriteTime);
    out.identity = {info.dwVolumeSerialNumber,
                    (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    return true;
}

OVERLAPPED at(std::uint64_t offset) {
    OVERLAPPED where{};
    where.Offset = static_cast<DWORD>(offset);
    where.OffsetHigh = static_cast<DWORD>(offset >> 32);
    return where;
}

constexpr DWORD kChunk = 1u << 30;

// "\\?\C:\x" is "C:\x", "\\?\UNC\server\share" is "\\server\share": the form an
// operator knows, and the one every call below accepts.
Path withoutLongPrefix(std::wstring name) {
    if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) return Path(L"\\\\" + name.substr(8));
    if (name.rfind(L"\\\\?\\", 0) == 0 && name.size() >= 6 && name[5] == L':') return Path(name.substr(4));
    return Path(name);
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
        case Fault::diskFull: return systemMessage(ERROR_DISK_FULL);
        case Fault::ioError: return systemMessage(ERROR_WRITE_FAULT);
        case Fault::accessDenied: return systemMessage(ERROR_ACCESS_DENIED);
    }
    return {};
}

bool File::close() {
    if (native_ == kInvalid) return true;
    const BOOL ok = ::CloseHandle(reinterpret_cast<HANDLE>(native_));
    native_ = kInvalid;
    return ok || failed();
}

bool File::info(FileInfo& out) const { return infoOf(handle(*this), out); }

bool File::readAt(std::uint64_t offset, char* buffer, std::size_t size, std::size_t& got) const {
    OVERLAPPED where = at(offset);
    DWORD n = 0;
    if (!::ReadFile(handle(*this), buffer, static_cast<DWORD>(std::min<std::size_t>(size, kChunk)), &n, &where)) {
        if (::GetLastError() != ERROR_HANDLE_EOF) return failed();
        n = 0;
    }
    got = n;
    return true;
}

bool File::writeAt(std::uint64_t offset, std::string_view bytes) const {
    std::size_t written = 0;
    while (written < bytes.size()) {
        OVERLAPPED where = at(offset + written);
        DWORD n = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - written, kChunk));
        if (!::WriteFile(handle(*this), bytes.data() + written, chunk, &n, &where)) return failed();
        if (n == 0) return failed(ERROR_WRITE_FAULT);
        written += n;
    }
    return true;
}

bool File::truncate(std::uint64_t size) const {
    LARGE_INTEGER end{};
    end.QuadPart = static_cast<LONGLONG>(size);
    if (!::SetFilePointerEx(handle(*this), end, nullptr, FILE_BEGIN)) return failed();
    return ::SetEndOfFile(handle(*this)) || failed();
}

bool File::flushToDisk() const {
    if (!::FlushFileBuffers(handle(*this))) return failed();
    if (syncObserved()) {
        FileInfo flushed;
        if (info(flushed)) noteSync("flush", flushed.identity);
    }
    return true;
}

bool File::tryLock() const {
    // A byte-range lock of every byte there can be; it is the handle's, so another
    // handle of this process is held off too, and it goes with the handle.
    OVERLAPPED whole{};
    if (::LockFileEx(handle(*this), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole))
        return true;
    const DWORD error = ::GetLastError();
    failed(error);
    if (error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING) {
        gReason = "in use by a save that is running";
        gBusy = true;
    }
    return false;
}

// Windows files have no mode bits; attributes and the access list survive writing.
std::uint32_t File::modeNow() const { return 0; }
bool File::restoreMode(std::uint32_t) const { return true; }

bool File::copyAccessFrom(const File& from) const {
    // The attributes an operator may have set, and the old file's access list; the
    // owner stays the saving user, since Windows lets only a privileged process give
    // a file away, and what decides access there is the list. Whatever the system
    // refuses here is left as it is.
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle(from), &info) || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = info.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                                    FILE_ATTRIBUTE_NOT_CONTENT_INDEXED);
    if (basic.FileAttributes == 0) basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    ::SetFileInformationByHandle(handle(*this), FileBasicInfo, &basic, sizeof basic);

    // The list as the opened file has it (the opening asked to read it where allowed).
    PACL acl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(handle(from), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &acl, nullptr,
                          &descriptor) != ERROR_SUCCESS)
        return true;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    const SECURITY_INFORMATION which = DACL_SECURITY_INFORMATION | ((control & SE_DACL_PROTECTED)
                                                                         ? PROTECTED_DACL_SECURITY_INFORMATION
                                                                         : UNPROTECTED_DACL_SECURITY_INFORMATION);
    ::SetSecurityInfo(handle(*this), SE_FILE_OBJECT, which, nullptr, nullptr, acl, nullptr);
    ::LocalFree(descriptor);
    return true;
}

std::optional<Path> finalTarget(const Path& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
    // Opening follows every link of a chain; the handle then knows the file's real name.
    HANDLE h = ::CreateFileW(path.c_str(), 0, kShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        failed();  // a loop, or a link to nothing: replacing the link itself would lose it
        return std::nullopt;
    }
    std::wstring name(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                                    FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) {
            failed();
            ::CloseHandle(h);
            return std::nullopt;
        }
        if (n < name.size()) {
            name.resize(n);
            break;
        }
        name.resize(n);
    }
    ::CloseHandle(h);
    return withoutLongPrefix(name);
}

bool statPath(const Path& path, FileInfo& out) {
    HANDLE h = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return failed();
    const bool ok = infoOf(h, out);
    ::CloseHandle(h);
    return ok;
}

bool exists(const Path& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool missing(const Path& path) {
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

File openForReading(const Path& path) {
    return opened(::CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool makeOwnFolder(const Path& path) {
    // Below the user's profile, whose access list already keeps other users out.
    return ::CreateDirectoryW(path.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS || failed();
}

unsigned long currentProcess() { return ::GetCurrentProcessId(); }

bool processExists(unsigned long process) {
    HANDLE h = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(process));
    if (!h) return ::GetLastError() == ERROR_ACCESS_DENIED;  // another user's, but there
    // A process that ended and is still held open by someone has an exit code.
    DWORD code = 0;
    const bool runs = ::GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    ::CloseHandle(h);
    return runs;
}

// Windows has no root whose rights reach past every access list; nothing to take.
FolderOwnerRights::FolderOwnerRights(const std::vector<Path>&) {}
FolderOwnerRights::~FolderOwnerRights() = default;
bool FolderOwnerRights::take() const { return true; }
void FolderOwnerRights::giveBack() const {}
FolderOwnerRights::Paused::Paused(const FolderOwnerRights& rights) : rights_(rights) {}
FolderOwnerRights::Paused::~Paused() = default;

Path userDataFolder() {
    if (const wchar_t* local = ::_wgetenv(L"LOCALAPPDATA"); local && *local) return Path(local);
    if (const wchar_t* profile = ::_wgetenv(L"USERPROFILE"); profile && *profile)
        return Path(profile) / L"AppData" / L"Local";
    return {};
}

}  // namespace platform
