#pragma once
// Frameless windows move when the operator presses any mouse button on their title
// strip (or another handle) and drags. The platform's own move is asked for first;
// where it refuses (no window manager, as under Xvfb) the window follows the mouse
// by hand until the button is released.

class QWidget;

void installWindowDrag(QWidget* handle);
