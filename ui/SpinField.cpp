#include "SpinField.h"

#include <algorithm>
#include <charconv>
#include <limits>

#include <QLineEdit>
#include <QPalette>

#include "Colours.h"

namespace {

constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr long long kIntMax = std::numeric_limits<int>::max();

bool onlySignAndDigits(const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.isDigit() && c.unicode() < 128) continue;
        if (i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'))) continue;
        return false;
    }
    return true;
}

}  // namespace

SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setKeyboardTracking(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, kStripColour);
    colours.setColor(QPalette::Disabled, QPalette::Base, kStripColour);
    colours.setColor(QPalette::Disabled, QPalette::Text, QColor(80, 80, 80));  // still readable
    setPalette(colours);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] { emit changed(); });
}

std::optional<int> SpinField::parseWhole(const QString& text) {
    if (text.isEmpty() || !onlySignAndDigits(text)) return std::nullopt;
    const QByteArray bytes = text.toLatin1();
    const char* first = bytes.constData();
    const char* last = first + bytes.size();
    bool negative = false;
    if (*first == '-' || *first == '+') {
        negative = *first == '-';
        ++first;
    }
    if (first == last) return std::nullopt;
    unsigned long long magnitude = 0;
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (error != std::errc() || end != last) return std::nullopt;
    const long long limit = negative ? -kIntMin : kIntMax;
    if (magnitude > static_cast<unsigned long long>(limit)) return std::nullopt;
    const long long signedValue =
        negative ? -static_cast<long long>(magnitude) : static_cast<long long>(magnitude);
    return static_cast<int>(signedValue);
}

int SpinField::clamp(long long value) const {
    if (!hasBounds()) return static_cast<int>(std::clamp(value, kIntMin, kIntMax));
    return static_cast<int>(std::clamp<long long>(value, min_, std::max(min_, max_)));
}

void SpinField::setBounds(int minValue, int maxValue) {
    min_ = minValue;
    max_ = maxValue;
    if (const auto shown = parseWhole(text())) showValue(clamp(*shown));
}

int SpinField::value() const {
    const auto shown = parseWhole(text());
    return shown ? clamp(*shown) : min_;
}

void SpinField::showValue(int value) {
    const QString text = QString::number(value);
    if (lineEdit()->text() != text) lineEdit()->setText(text);
}

void SpinField::setValue(int value) { showValue(clamp(value)); }

void SpinField::setTypingAllowed(bool allowed) {
    typingAllowed_ = allowed;
    lineEdit()->setReadOnly(!allowed);
}

void SpinField::stepBy(int steps) {
    if (isReadOnly()) return;
    showValue(clamp(static_cast<long long>(value()) + steps));
}

QAbstractSpinBox::StepEnabled SpinField::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    StepEnabled enabled = StepNone;
    const int current = value();
    const long long upper = hasBounds() ? std::max(min_, max_) : kIntMax;
    const long long lower = hasBounds() ? min_ : kIntMin;
    if (current < upper) enabled |= StepUpEnabled;
    if (current > lower) enabled |= StepDownEnabled;
    return enabled;
}

QValidator::State SpinField::validate(QString& input, int&) const {
    if (!onlySignAndDigits(input)) return QValidator::Invalid;
    return parseWhole(input) ? QValidator::Acceptable : QValidator::Intermediate;
}

// Text that is not a whole number stays as typed; it reads as the lower bound.
void SpinField::fixup(QString&) const {}

void SpinField::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    if (const auto shown = parseWhole(text())) showValue(clamp(*shown));
}
