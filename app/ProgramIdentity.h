#pragma once
// What the program calls itself and how it looks to the desktop: the title of its
// one taskbar button, and the icon every window carries (the windows have no frame,
// so the icon shows only in the taskbar and the window switcher).

#include <cstdint>

#include <QIcon>

// The icon, built into the program as the pixels of icon/varnex.png (premultiplied
// ARGB, row by row from the top); the same picture is installed beside it.
inline constexpr int kProgramIconSide = 256;
extern const std::uint32_t kProgramIconPixels[kProgramIconSide * kProgramIconSide];
QIcon programIcon();

// Sets the application's names and its window icon. Call once the QApplication exists.
void setProgramIdentity();
