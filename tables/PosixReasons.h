#pragma once
// How the POSIX file layer (TextFilePosix.cpp, FolderPosix.cpp) reports a failure:
// false, with the reason in lastReason().

#include <cerrno>
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

}  // namespace platform::posix
