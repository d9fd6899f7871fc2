#pragma once
// How the POSIX file layer (TextFilePosix.cpp, FolderPosix.cpp) reports a failure:
// false, with the reason in lastReason(); and what it says of a file.

#include <sys/stat.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <string>
#include <system_error>

#include "TextFilePlatform.h"

namespace platform::posix {

// The system's words for errno.
inline bool failed() {
    setLastReason(std::generic_category().message(errno));
    return false;
}

inline bool refused(std::string reason) {
    setLastReason(std::move(reason));
    return false;
}

// Mode bits as ls and chmod write them: "0644".
inline std::string octal(unsigned mode) {
    char text[8];
    std::snprintf(text, sizeof text, "%04o", mode & 07777);
    return text;
}

inline std::int64_t modifiedNanoseconds(const struct stat& info) {
#if defined(__APPLE__)
    const auto& time = info.st_mtimespec;
#else
    const auto& time = info.st_mtim;
#endif
    return static_cast<std::int64_t>(time.tv_sec) * 1'000'000'000 + time.tv_nsec;
}

inline FileInfo infoFrom(const struct stat& info) {
    return {S_ISREG(info.st_mode), static_cast<std::uint64_t>(info.st_size), modifiedNanoseconds(info),
            {static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)}};
}

}  // namespace platform::posix
