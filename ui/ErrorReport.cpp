#include "ErrorReport.h"

#include "ByteText.h"
#include "MessageBoxes.h"
#include "TableError.h"

QString errorText(const std::exception& error) {
    QString text = textFromBytes(error.what());
    if (const auto* tableError = dynamic_cast<const TableError*>(&error)) {
        const std::string detail = tableError->detail();
        if (!detail.empty()) text += QLatin1Char('\n') + textFromBytes(detail);
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
