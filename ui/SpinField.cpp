#include "SpinField.h"
// Placeholder until the field is written.
SpinField::SpinField(QWidget* parent) : QAbstractSpinBox(parent) {}
void SpinField::setBounds(int a, int b) { min_ = a; max_ = b; }
int SpinField::value() const { return min_; }
void SpinField::setValue(int) {}
void SpinField::setTypingAllowed(bool) {}
