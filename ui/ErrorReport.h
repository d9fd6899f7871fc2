#pragma once
// The one error report of the program: every event handler runs its body through
// reportErrors, so nothing is ever thrown into Qt's event loop.
//
// Errors: every handler body runs inside `reportErrors` (ui/ErrorReport.h), which catches, shows
// one message box (the text, then the file and line when known) and returns. Nothing is thrown into
// Qt's event loop. Message boxes, the close question among them, go through one interface
// (ui/MessageBoxes.h) that tests replace with a recorder. The real boxes show `fittedMessage(text)`
// (ui/FittedMessage.h): at most 24 lines and 1,500 characters, long unbroken runs given places to
// wrap, so whatever a message quotes the box fits the screen and is laid out at once.

#include <exception>
#include <utility>

#include <QString>

class QWidget;

// The text shown for a failure: its message and, on a second line, the file and
// line where it arose and why, when known.
QString errorText(const std::exception& error);

void showError(QWidget* parent, const std::exception& error);
void showUnknownError(QWidget* parent);

// Runs body; shows whatever it throws and returns false, else returns true.
template <class Body>
bool reportErrors(QWidget* parent, Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
        return true;
    } catch (const std::exception& error) {
        showError(parent, error);
    } catch (...) {
        showUnknownError(parent);
    }
    return false;
}
