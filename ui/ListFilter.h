#pragma once
// A field above a report list that narrows it as the operator types: a row stays when
// one of its texts holds the typed text (any case, anywhere), or when the typed text is a
// number equal to the row's number. Escape clears it. Rows are hidden, not removed, so a
// row's index still names the same item for the list's owner.

#include <functional>

class QLineEdit;
class QString;
class QTreeView;
class QWidget;

// The field, made above nothing: its owner places it. numberColumn is the column whose
// text is the row's number. When the selected row is filtered away, the first row left
// is selected instead (with its change told as a click's would be).
QLineEdit* makeListFilter(QWidget* parent, const char* name, QTreeView* list, int numberColumn);

// Whether the row's texts match the field's text as the filter matches them.
bool rowMatchesFilter(const QTreeView* list, int row, int numberColumn, const QString& text);
