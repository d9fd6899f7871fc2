#pragma once
// Windows that stay above the others (the add-location dialog, the preview, the history
// and the key list) keep among themselves the order they were last brought up in, and
// a click on another window raises it, then them again in that order, as a window
// manager keeps such windows. Without a window manager nothing raises a window the
// operator clicks, so a window opened over it would stay over it for good; under one
// this is what the manager does anyway.

class QWidget;

// The window stays above the others; each showing of it and each click on it brings it
// up above the other such windows.
void keepAbove(QWidget* window);

// A click on the window raises it, then the windows that stay above the others.
void raiseOnPress(QWidget* window);
