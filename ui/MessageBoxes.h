#pragma once
// Every message box of the program goes through here, so tests can record them
// instead of blocking on a modal box.

#include <QString>

class QWidget;

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // An error: the failure's own text (and, on a second line, where it arose).
    virtual void error(QWidget* parent, const QString& text) = 0;
    // A box with only an OK button and no icon.
    virtual void notice(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A Yes/No question whose default button is No; true only for Yes.
    virtual bool question(QWidget* parent, const QString& text) = 0;
};

MessageBoxes& messageBoxes();
// Tests install a recorder; nullptr brings the real boxes back.
void installMessageBoxes(MessageBoxes* boxes);
