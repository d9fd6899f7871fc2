// Placeholder so the program links until the dialog is written.
#include "Unit2.h"

#include <QComboBox>

struct TForm2::Impl {
    QComboBox* combo = nullptr;
};

TForm2::TForm2(Forms&, QWidget* parent) : QWidget(parent), d_(new Impl) { d_->combo = new QComboBox(this); }
TForm2::~TForm2() { delete d_; }
QComboBox* TForm2::monsterIdCombo() const { return d_->combo; }
void TForm2::MonsterIDcomboChange() {}
void TForm2::RadioGroup1Click() {}
void TForm2::showPointPage() {}
void TForm2::showRangePage() {}
void TForm2::showBody() {}
