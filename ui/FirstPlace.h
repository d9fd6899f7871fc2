#pragma once
// Where a tool window first opens: where it was meant to, unless it would cover what the
// operator needs of the main window (its save, delete and title buttons) or reach off
// the screen; then beside the main window where the screen has room for it, else at the
// place nearest the meant one that is wholly on the screen and covers none of them,
// else where it covers least. Only the first showing is placed: where the operator
// moves it later stays for the run, kept on the screen (keepOnScreen); a window the
// program shows again by itself is also kept clear of the buttons (placeOnShow).

#include <functional>

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

QPoint firstPlace(QSize size, QPoint wanted, QRect screen, QRect mainWindow, const QList<QRect>& keepClear);

// The same for a window that may be smaller than it would like: the largest size, from
// `preferred` down to `least`, that has such a place, at that place; when none has,
// `least` where it covers least.
QRect firstFrame(QSize preferred, QSize least, QPoint wanted, QRect screen, QRect mainWindow,
                 const QList<QRect>& keepClear);

// Gives the window the place (and size) frame() answers just before it is first shown.
void placeOnFirstShow(QWidget* window, std::function<QRect()> frame);

// At every later showing, a window that reaches off the screen or covers any of
// keepClear() goes to the first place from where it is.
void placeOnShow(QWidget* window, std::function<QRect()> screen, std::function<QRect()> mainWindow,
                 std::function<QList<QRect>()> keepClear);

// The part of the screen the window's own top left corner and size may take when it is
// first shown, leaving room for the frame a window manager puts around a window that is
// not frameless, which is not known before.
QRect roomForFrame(const QWidget* window, QRect screen);

// The place nearest `frame` that is wholly on the screen; a frame larger than the screen
// keeps its top left corner on it.
QRect onScreen(QRect frame, QRect screen);

// Keeps the window wholly on its screen: when it is shown, when its size changes, and
// when the window manager's frame around it becomes known (a frame adds its title bar
// to the window's height only once the window is on the screen).
void keepOnScreen(QWidget* window);
