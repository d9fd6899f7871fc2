#include "SpinField.h"

#include <algorithm>
#include <limits>
#include <utility>

#include <QKeyEvent>
#include <QLineEdit>
#include <QPalette>
#include <QStyle>
#include <QStyleOptionSpinBox>

#include "Colours.h"
#include "Numbers.h"

namespace {

constexpr long long kIntMin = std::numeric_limits<int>::min();
constexpr long long kIntMax = std::numeric_limits<int>::max();

bool onlySignAndDigits(QStringView text) {
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
    connect(lineEdit(), &QLineEdit::textEdited, this, [this] { typed_ = true; });
}

std::optional<int> SpinField::parseWhole(QStringView text) {
    if (text.isEmpty() || !onlySignAndDigits(text)) return std::nullopt;
    qsizetype first = 0;
    bool negative = false;
    if (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) {
        negative = text[0] == QLatin1Char('-');
        ++first;
    }
    if (first == text.size()) return std::nullopt;
    // A number of any length is still a number: past the 32-bit range it stays at the
    // nearest limit, and the bounds pull it in from there.
    const long long limit = negative ? -kIntMin : kIntMax;
    long long magnitude = 0;
    for (qsizetype i = first; i < text.size(); ++i)
        magnitude = std::min(limit, magnitude * 10 + text[i].digitValue());
    return static_cast<int>(negative ? -magnitude : magnitude);
}

// The one clamping of bounded fields, which the tables' field bounds use too.
int SpinField::clamp(long long value) const { return clampToBounds(value, min_, max_); }

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

QString SpinField::widestText() const {
    if (!hasBounds()) return QString::number(kIntMin);
    const QString lower = QString::number(min_);
    const QString upper = QString::number(std::max(min_, max_));
    const QFontMetrics metrics = fontMetrics();
    return metrics.horizontalAdvance(lower) > metrics.horizontalAdvance(upper) ? lower : upper;
}

QSize SpinField::sizeHint() const {
    ensurePolished();
    // The line edit keeps a small margin on each side of its text, and one pixel for
    // the cursor behind the last digit.
    constexpr int kTextMargins = 2 * 2 + 1;
    const int textWidth = fontMetrics().horizontalAdvance(widestText()) + kTextMargins;
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    const QSize text(textWidth, lineEdit()->sizeHint().height());
    return style()->sizeFromContents(QStyle::CT_SpinBox, &option, text, this);
}

void SpinField::setValue(int value) { showValue(clamp(value)); }

void SpinField::setTypingAllowed(bool allowed) {
    typingAllowed_ = allowed;
    lineEdit()->setReadOnly(!allowed);
}

void SpinField::stepBy(int steps) {
    if (isReadOnly()) return;
    showValue(clamp(static_cast<long long>(value()) + steps));
    typed_ = false;
    emit committed();
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

void SpinField::commit() {
    if (const auto shown = parseWhole(text())) showValue(clamp(*shown));
    if (std::exchange(typed_, false)) emit committed();
}

void SpinField::focusOutEvent(QFocusEvent* event) {
    QAbstractSpinBox::focusOutEvent(event);
    commit();
}

void SpinField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        commit();
        event->ignore();  // for the window: Enter may press its OK button
        return;
    }
    QAbstractSpinBox::keyPressEvent(event);
}
