#pragma once
// How the Windows file layer (TextFileWindows.cpp, FolderWindows.cpp) reports a
// failure: false, with the system's own words for it in lastReason().
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>

#include "TextFilePlatform.h"

namespace platform::windows {

std::string systemMessage(DWORD code);
// Also tells busy() whether another opening or lock holds the file.
bool failed(DWORD code = ::GetLastError());

inline HANDLE handle(const File& file) { return reinterpret_cast<HANDLE>(file.native()); }

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

}  // namespace platform::windows
