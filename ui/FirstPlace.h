#pragma once
// Where a tool window first opens: where it was meant to, unless it would cover what the
// operator needs of the main window (its save, delete and title buttons); then beside
// the main window where the screen has room for it, else where it covers least. Only the
// first showing is placed: where the operator moves it later stays for the run.

#include <functional>

#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

QPoint firstPlace(QSize size, QPoint wanted, QRect screen, QRect mainWindow, const QList<QRect>& keepClear);

// Places the window by place() just before it is first shown.
void placeOnFirstShow(QWidget* window, std::function<QPoint()> place);
