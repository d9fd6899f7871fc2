#pragma once
// What the program calls itself and how it looks to the desktop: the title of its
// one taskbar button, and the icon every window carries (the windows have no frame,
// so the icon shows only in the taskbar and the window switcher).

#include <QIcon>

// The icon, built into the program; the same picture is installed beside it.
QIcon programIcon();

// Sets the application's names and its window icon. Call once the QApplication exists.
void setProgramIdentity();
