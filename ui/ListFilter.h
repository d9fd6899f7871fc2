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
// is selected instead, or none when no row is left (with the change told as a click's
// would be): what the list's owner shows is never a row the operator cannot see.
// Down in the field goes on into the list; Enter chooses the first row left (or keeps
// the chosen one) and goes on into the list.
QLineEdit* makeListFilter(QWidget* parent, const char* name, QTreeView* list, int numberColumn);

// Before the program chooses a row the filter hides, the filter is emptied.
void revealRow(QLineEdit* filter, QTreeView* list, int row);

// Whether the row's texts match the field's text as the filter matches them.
bool rowMatchesFilter(const QTreeView* list, int row, int numberColumn, const QString& text);

// The same rule for a monster's name and number (the monster table's filter and the
// balance chart, which follows it).
bool monsterMatchesFilter(const QString& name, long long number, const QString& text);
