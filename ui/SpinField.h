#pragma once
// Bounded whole-number field with up and down arrows (step 1).
//  - a value set by the program is clamped to the bounds at once;
//  - a typed value, of any number of digits, is clamped when the field loses the focus,
//    and when Enter is pressed in it (the key then goes on to the window, where it
//    may press a button: what the button reads is what the field shows);
//  - value() of a text that is not a whole number is the lower bound;
//  - bounds 0 and 0 mean no bounds (any signed 32-bit value).
// changed() is emitted whenever the shown text changes, by typing, arrows or program,
// synchronously inside setValue(); a QSignalBlocker on the field silences it.
// committed() is emitted when the operator's number is taken in: an arrow step, or
// typing ended by leaving the field, Enter or commit(). A value set by the program is
// never committed, and neither is each keystroke of a number being typed.

#include <optional>

#include <QAbstractSpinBox>
#include <QString>

class SpinField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit SpinField(QWidget* parent = nullptr);

    void setBounds(int minValue, int maxValue);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }
    bool hasBounds() const { return min_ != 0 || max_ != 0; }

    int value() const;
    void setValue(int value);
    // Pulls a typed value into the bounds, as leaving the field does.
    void commit();
    // The value as the field would show it.
    int bounded(long long value) const { return clamp(value); }

    // Only the arrows (and the arrow keys) change the value; typing is refused.
    void setTypingAllowed(bool allowed);
    bool typingAllowed() const { return typingAllowed_; }

    // The shown text read as a whole number (optional sign, decimal digits); beyond
    // signed 32 bits it reads as the nearer 32-bit limit. Nothing when it is not one.
    static std::optional<int> parseWhole(QStringView text);

    // The longest value the bounds allow, as the field shows it.
    QString widestText() const;
    // Room for widestText() in the field's own font, beside the arrows and frame.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

    using QAbstractSpinBox::lineEdit;  // the text part, for tests and key handling

    void stepBy(int steps) override;
    QValidator::State validate(QString& input, int& pos) const override;
    void fixup(QString& input) const override;

signals:
    void changed();
    void committed();

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int clamp(long long value) const;
    void showValue(int value);

    int min_ = 0;
    int max_ = 0;
    bool typingAllowed_ = true;
    bool typed_ = false;  // typed since the last commit
};
