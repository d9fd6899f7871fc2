#include "TextFilePlatform.h"

namespace platform {

namespace {

const char* const kTooLarge = "larger than 256 MB";

}  // namespace

bool readWhole(const File& file, std::string& bytes, std::uint64_t limit) {
    bytes.clear();
    FileInfo info;
    if (!file.info(info)) return false;
    if (info.size > limit) {
        setLastReason(kTooLarge);
        return false;
    }
    bytes.reserve(static_cast<std::size_t>(info.size));
    char buffer[65536];
    for (;;) {
        std::size_t got = 0;
        if (!file.readAt(bytes.size(), buffer, sizeof buffer, got)) return false;
        if (got == 0) return true;
        bytes.append(buffer, got);
        // A file that grows while it is read is held to the same bound.
        if (bytes.size() > limit) {
            setLastReason(kTooLarge);
            return false;
        }
    }
}

bool readWhole(const Path& path, std::string& bytes, std::uint64_t limit) {
    const File file = openForReading(path);
    return file.valid() && readWhole(file, bytes, limit);
}

}  // namespace platform
