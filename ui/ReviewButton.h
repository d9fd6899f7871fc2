#pragma once
// The button beside a save button that shows what the saves would write (the review of
// the save, Ctrl+Shift+D in every window). Kept out of the Tab order, as the key does
// the same from anywhere.

class QToolButton;
class QWidget;

QToolButton* makeReviewButton(QWidget* parent, const char* objectName);
