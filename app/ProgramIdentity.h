#pragma once
// What the program calls itself and how it looks to the desktop: the title of its
// one taskbar button, and the icon every window carries (the windows have no frame,
// so the icon shows only in the taskbar and the window switcher).

#include <cstdint>

#include <QIcon>

// The icon, built into the program as icon/varnex.png scaled down to the sizes window
// switchers and taskbars draw (premultiplied ARGB, row by row from the top, smallest
// first). Every size is sent to the window system with each window shown, so the
// 256-pixel picture is left to the desktop entry, which names the installed file.
inline constexpr int kProgramIconSides[] = {16, 24, 32, 48, 64};
inline constexpr int kProgramIconPixelCount = [] {
    int count = 0;
    for (const int side : kProgramIconSides) count += side * side;
    return count;
}();
extern const std::uint32_t kProgramIconPixels[kProgramIconPixelCount];
QIcon programIcon();

// Sets the application's names, its window icon and its default font (the design font;
// message boxes, tooltips and menus keep the desktop's). Call once the QApplication
// exists, before any window is made.
void setProgramIdentity();
