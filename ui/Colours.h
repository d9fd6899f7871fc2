#pragma once
// The colours every window of the program shares.

#include <QColor>

inline const QColor kFormColour(227, 220, 213);   // window bodies
inline const QColor kStripColour(195, 195, 201);  // title strips, number fields
inline const QColor kGridLineColour(192, 192, 192);  // between the cells of report lists
