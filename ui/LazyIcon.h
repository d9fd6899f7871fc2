#pragma once
// Icons that are made when they are first drawn or measured, not when a button or a
// window is given them: the pictures of a window that is never shown are never loaded,
// and those of the first window load as it is painted.

#include <functional>

#include <QIcon>
#include <QStyle>

QIcon lazyIcon(std::function<QIcon()> make);
// The style's own picture, as QStyle::standardIcon gives it without a desktop icon
// theme (the toolkit's built-in one).
QIcon lazyStandardIcon(QStyle::StandardPixmap which);
