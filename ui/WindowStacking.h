#pragma once
// Without a window manager nothing raises a window the operator clicks, so a window
// opened over it would stay over it for good. A click on a window raises it, and then
// the windows that stay above every other (the tool windows) again, as a manager keeps
// them; under a manager this is what the manager does anyway.

#include <functional>

#include <QList>

class QWidget;

void raiseOnPress(QWidget* window, std::function<QList<QWidget*>()> staysAbove);
