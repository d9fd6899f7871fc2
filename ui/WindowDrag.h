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
//
// Window dragging (ui/WindowDrag.h): a press on a title strip asks for the system move
// (`QWindow::startSystemMove`), and follows the pointer by hand where there is no window manager.
// Under openbox, Qt 6.4 can take a newly shown window's place inside the manager's frame, (0, 0),
// for its place on the screen; a system move then starts from a wrong pointer position and the
// window jumps by its distance from the corner, and a resize (a page switch) puts it in the corner.
// Every press on a window and every entry of the pointer puts the window's idea of its place right
// (the pointer on the screen less the pointer in the window). A press taken in after the pointer
// has moved on drags by hand, since the system move would start from the later position. The dialog
// and the overview make their strips with `makeTitleStrip` (ui/TitleStrip.h). `tests/gui_drag`
// drags every window under Xvfb with openbox and without a manager, the overview included, and
// checks where the overview first opens; its `operator_test.sh` runs the program itself there with
// real keys and a real clipboard (xdotool, xclip): where the keyboard is after each box, dialog and
// window, that Ctrl+S after "Change..." saves the monster table, and that the history and the key
// list open wholly on the screen, above the window they were opened from.

class QWidget;

// Also keeps the place of the handle's window known (keepWindowPlaceKnown).
void installWindowDrag(QWidget* handle);

// Puts the window's idea of its place on the screen right at each pointer press on it
// and each entry of the pointer into it. Once per window; further calls do nothing.
void keepWindowPlaceKnown(QWidget* window);
