#pragma once
// A fresh folder below the system's temporary folder, removed with everything in it.

#include <filesystem>
#include <string>
#include <string_view>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // Writes bytes to path()/relative, creating folders on the way.
    void write(const std::filesystem::path& relative, std::string_view bytes) const;
    std::string read(const std::filesystem::path& relative) const;
    bool exists(const std::filesystem::path& relative) const;

private:
    std::filesystem::path path_;
};
