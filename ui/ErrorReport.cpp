#include "ErrorReport.h"

#include "MessageBoxes.h"
#include "TableError.h"
#include "VisibleText.h"

// A message quotes bytes of a file: a tab or a control byte shows as \t or \xNN, as
// varnex-check writes it, rather than as a gap or nothing at all.
QString errorText(const std::exception& error) {
    QString text = QString::fromStdString(visibleText(error.what()));
    if (const auto* tableError = dynamic_cast<const TableError*>(&error)) {
        const std::string detail = tableError->detail();
        if (!detail.empty()) text += QLatin1Char('\n') + QString::fromStdString(visibleText(detail));
    }
    return text;
}

void showError(QWidget* parent, const std::exception& error) {
    try {
        messageBoxes().error(parent, errorText(error));
    } catch (...) {
        // Nothing sensible is left to do when even the report fails.
    }
}

void showUnknownError(QWidget* parent) {
    try {
        messageBoxes().error(parent, QStringLiteral("Unexpected error"));
    } catch (...) {
    }
}
