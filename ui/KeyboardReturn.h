#pragma once
// When a dialog, a message box, a question or a window opened from another one closes,
// the keyboard goes back to the window that asked for it, and there to the control that
// had it. Left to itself, X gives it to no window at all when no window manager runs,
// and a window manager gives it to a window of its own choosing (openbox: the main
// window), so the next key would do nothing, or Ctrl+S would save another file.
//
// The window that asked is a dialog's parent window, else the window that had the
// keyboard when the closing window was shown. Nothing is done when the keyboard has
// moved on to another window meanwhile, or when the window that asked is gone or hidden.

class QWidget;

// Watches every window of the program from now on; once is enough.
void giveKeyboardBackOnClose();

// The window the keyboard goes back to when `window` closes (nullptr: none).
QWidget* askingWindow(const QWidget* window);
