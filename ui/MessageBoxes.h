#pragma once
// Every message box of the program goes through here, so tests can record them
// instead of blocking on a modal box. Each box stays above every window of the program
// (the add-location dialog and the preview stay above the others), and the keyboard
// goes back to the window that asked when it closes (KeyboardReturn.h).

#include <optional>

#include <QString>
#include <QStringList>

#include "QuestionAnswers.h"

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
    // Before the program ends with unsaved changes: Save (the default), Discard or
    // Cancel (Escape), in this order on every desktop; "Review..." apart from them.
    virtual CloseAnswer askBeforeClosing(QWidget* parent, const QString& text) = 0;
    // Typed values not stored yet: Store (the default), Discard or Cancel (Escape), in
    // this order on every desktop.
    virtual TypedValuesAnswer askAboutTypedValues(QWidget* parent, const QString& text) = 0;
    // A whole number from min to max, starting at value; nothing when cancelled.
    virtual std::optional<int> askNumber(QWidget* parent, const QString& title, const QString& label, int value,
                                         int min, int max);
    // One of the items, starting at `current`; its index, or nothing when cancelled.
    virtual std::optional<int> askChoice(QWidget* parent, const QString& title, const QString& label,
                                         const QStringList& items, int current);
};

MessageBoxes& messageBoxes();
// Tests install a recorder; nullptr brings the real boxes back.
void installMessageBoxes(MessageBoxes* boxes);
