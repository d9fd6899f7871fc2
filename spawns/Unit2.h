#pragma once
// TForm2: the add-location dialog. Composes one new spawn entry and appends it
// to the spawn table with "Create".

#include <QWidget>

#include "MonsterTable.h"

struct Forms;
class QComboBox;

class TForm2 : public QWidget {
    Q_OBJECT
public:
    explicit TForm2(Forms& forms, QWidget* parent = nullptr);
    ~TForm2() override;

    QComboBox* monsterIdCombo() const;  // the control named MonsterIDcombo

    // Also run from the spawn page and the stats page.
    void MonsterIDcomboChange();
    void RadioGroup1Click();

    // Makes the "Point Spot" / "Range Spot" page the active one (its show step runs
    // when it becomes visible).
    void showPointPage();
    void showRangePage();
    // Unfolds the body panel Panel2 (the minimise button may have folded it).
    void showBody();

    MonsterDataRecord currentmonster;
    int facedir = -1;

private:
    struct Impl;
    Impl* d_;
};
