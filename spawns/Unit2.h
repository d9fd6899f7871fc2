#pragma once
// TForm2: the add-location dialog. Composes one new spawn entry and appends it
// to the spawn table with "Create".

#include <memory>

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

    // The chosen item of RadioGroup1, which is the spot type code 0..4. Setting a
    // different one runs RadioGroup1Click at once, as a choice by the operator does.
    int spotType() const;
    void setSpotType(int type);

    // The remaining handlers; each reports its own failures.
    void TabSheet1Show();
    void TabSheet2Show();
    void RadioButtonClick(int number);  // RadioButton1Click .. RadioButton9Click
    void SpinEditXChange();
    void SpinX0Change();
    void SpinEdit2Change();
    void SpeedButton9Click();
    void SpeedButton5Click();
    void SpeedButton3Click();
    void Button1Click();
    void SpeedButton1Click();
    void SpeedButton4Click();

    MonsterDataRecord currentmonster;
    // Starts at -1 because the keypad starts with its centre button chosen.
    int facedir = -1;

protected:
    void showEvent(QShowEvent* event) override;
    // Escape closes the dialog as its close button does (the title strip's buttons
    // take no keyboard focus), and the keyboard goes back to the main window.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void runVisiblePageShow();

    struct Impl;
    std::unique_ptr<Impl> d_;
};
