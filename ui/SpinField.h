#pragma once
// Bounded whole-number field with up and down arrows (step 1).
//  - a value set by the program is clamped to the bounds at once;
//  - a typed value is clamped when the field loses the focus;
//  - value() of a text that is not a whole number is the lower bound;
//  - bounds 0 and 0 mean no bounds (any signed 32-bit value).
// changed() is emitted whenever the shown text changes, by typing, arrows or program.

#include <QAbstractSpinBox>

class SpinField : public QAbstractSpinBox {
    Q_OBJECT
public:
    explicit SpinField(QWidget* parent = nullptr);

    void setBounds(int minValue, int maxValue);
    int minValue() const { return min_; }
    int maxValue() const { return max_; }

    int value() const;
    void setValue(int value);

    // Only the arrows (and the arrow keys) change the value; typing is refused.
    void setTypingAllowed(bool allowed);

signals:
    void changed();

    // TODO(stats): implementation
private:
    int min_ = 0;
    int max_ = 0;
};
