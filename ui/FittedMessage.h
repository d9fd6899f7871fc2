#pragma once
// A message as a box shows it: whatever a message quotes, the box stays small enough
// for the screen and quick to lay out. Past kMessageLines lines or kMessageCharacters
// characters the text is cut, with "…" where it stops, and a run of characters without
// a blank longer than kUnbrokenRun may be broken after every kUnbrokenRun of them (at an
// invisible zero-width space), since a box can wrap its text only where it may break.
// Only the part that is kept is looked at, so a text of any length costs the same.

#include <QString>
#include <QStringView>

inline constexpr int kMessageLines = 24;
inline constexpr qsizetype kMessageCharacters = 1500;
inline constexpr qsizetype kUnbrokenRun = 100;

QString fittedMessage(QStringView text);
