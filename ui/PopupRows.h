#pragma once
// A drop-down list that opens as many rows tall as its box asks (setMaxVisibleItems):
// some styles open it over the box at the height of every item, a whole screen for a
// long list.

class QComboBox;

void keepPopupToMaxRows(QComboBox* combo);
