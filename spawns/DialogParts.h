#pragma once
// The controls the add-location dialog and its pages are built from: captions placed
// by the design's numbers, the bounded number fields in the design's field colour, and
// the buttons that show only a picture.

#include <QRect>
#include <QStyle>

class QLabel;
class QString;
class QToolButton;
class QWidget;
class SpinField;

// A caption at (x, y), as wide as its text.
QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y);
// The same, centred on the height of a field row.
QLabel* makeRowLabel(QWidget* parent, const QString& text, int x, int y);
// The design's field colour (the monster list and the number fields).
void useFieldColour(QWidget* field);
// A number field named `name`; its accessible name is its caption's text.
SpinField* makeSpin(QWidget* parent, const char* name, const QLabel* caption, int minValue, int maxValue,
                    int initial, QRect geometry);
// A button that shows only a picture; the accessible name says what it does.
QToolButton* makeGlyphButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph, const char* hint,
                             const char* accessibleName, QPoint at);
