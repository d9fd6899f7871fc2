#pragma once
// The title strip of a tool window: its caption in bold on the strip colour, a raised
// panel, and the handle that moves the window with or without a window manager.

class QLabel;
class QString;
class QWidget;

QLabel* makeTitleStrip(QWidget* window, const char* name, const QString& caption);
