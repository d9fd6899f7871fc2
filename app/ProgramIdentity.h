#pragma once
// What the program calls itself and how it looks to the desktop: the title of its
// one taskbar button, and the icon every window carries (the windows have no frame,
// so the icon shows only in the taskbar and the window switcher).

#include <cstdint>

#include <QIcon>

// The icon, built into the program as icon/varnex.png scaled down to the sizes window
// switchers and taskbars draw (premultiplied ARGB, row by row from the top, smallest
// first). Every size is sent to the window system with each window shown, and the two
// largest cost more than all the others (5 to 9 ms a window under Xvfb, and more over
// a remote X connection), so the windows shown at start carry up to 64 pixels; the
// 128 and 256 pixel pictures that large switchers draw join them once the program has
// started (completeProgramIcon).
inline constexpr int kProgramIconSides[] = {16, 24, 32, 48, 64, 128, 256};
inline constexpr int kStartIconSideCount = 5;  // 16 to 64
inline constexpr int kProgramIconPixelCount = [] {
    int count = 0;
    for (const int side : kProgramIconSides) count += side * side;
    return count;
}();
extern const std::uint32_t kProgramIconPixels[kProgramIconPixelCount];
QIcon programIcon();  // every size

// Sets the application's names, the name of its desktop entry (varnex.desktop, by
// which Wayland desktops find its icon), its window icon at the start sizes and its
// default font (the design font; message boxes, tooltips and menus keep the
// desktop's). Call once the QApplication exists, before any window is made.
void setProgramIdentity();
// Gives every window the icon at every size; the windows already shown send it to the
// window system again. Call once the main window has been painted.
void completeProgramIcon();
