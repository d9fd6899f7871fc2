#pragma once
// Frameless windows move when the operator presses any mouse button on their title
// strip (or another handle) and drags. The platform's own move is asked for first;
// where it refuses (no window manager, as under Xvfb) the window follows the mouse
// by hand until the button is released.
//
// Both ways start from the toolkit's idea of where the window is, and under some X11
// window managers (openbox among them) Qt can take the window's place inside the
// manager's frame, (0, 0), for its place on the screen when the window is shown. A
// move started from there jumps the window by its distance from the screen's corner,
// and a resize puts it in that corner. A pointer press on the window, or the pointer
// entering it, shows the true place, and the window's idea is put right from it.

class QWidget;

// Also keeps the place of the handle's window known (keepWindowPlaceKnown).
void installWindowDrag(QWidget* handle);

// Puts the window's idea of its place on the screen right at each pointer press on it
// and each entry of the pointer into it. Once per window; further calls do nothing.
void keepWindowPlaceKnown(QWidget* window);
