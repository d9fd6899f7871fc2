#pragma once
// The "Monster Stats" page: the monster list, and a locked panel of number fields
// that shows one monster's stored line and, in the edit state, stores changes into it.

#include <array>
#include <filesystem>
#include <optional>

#include <QWidget>

#include "MonsterFields.h"
#include "MonsterTable.h"

class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QToolButton;
class QPushButton;
class QTreeView;
class SpinField;

class StatsPage : public QWidget {
    Q_OBJECT
public:
    // The table is the main window's; saving writes below workFolder.
    StatsPage(MonsterTable& table, std::filesystem::path workFolder, QWidget* parent = nullptr);

    // Lists monsters 0 .. monstercount-1 and selects the first, which shows it.
    void fillList();

    int selectedIndex() const;  // -1 when no row is selected
    // Selects the row; the page shows it as after a click. Out of range: nothing.
    void selectIndex(int index);
    bool editing() const { return editing_; }

    // The controls in the order Tab visits them: the list, the strip's buttons, the
    // three groups' fields row by row, then "OK" and "Cancel".
    QList<QWidget*> tabChain() const;
    // The keyboard focus to where work on the page starts: the list, or in the edit
    // state the first field.
    void focusStart();

    // Handlers; each reports what the table raises and returns.
    void ListView1SelectItem();
    void Button1Click();
    void VlvlChange();
    void Button3Click();
    void Button2Click();
    void SpeedButton8Click();

signals:
    // true when the page enters the edit state, false when it leaves it.
    void editStateChanged(bool editing);
    // After "OK" has stored the monster's rebuilt line.
    void monsterStored(int index);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // In the edit state Enter presses "OK" (or "Cancel" when it has the focus) and
    // Escape presses "Cancel"; fields pass Enter on after taking in what was typed.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildPanel();
    void placeFields();
    // The stored line of this monster as the page reads it; nothing when there is none.
    std::optional<MonsterLineFields> storedFields(int index) const;
    // Shows what was read; throws the reading's error when it stopped early.
    void showFields(const MonsterLineFields& fields);
    void storeMonster(int index);
    QWidget* fieldWidget(std::size_t index) const;  // combomvrag for the move range

    MonsterTable& table_;
    std::filesystem::path workFolder_;
    bool editing_ = false;

    class MonsterNames;
    QTreeView* ListView1 = nullptr;
    MonsterNames* names_ = nullptr;
    QFrame* strip_ = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QToolButton* Button1 = nullptr;
    QFrame* Panel1 = nullptr;
    QGroupBox* idRow_ = nullptr;
    std::array<QGroupBox*, 3> groups_{};
    QLabel* ViD = nullptr;
    QLabel* Vname = nullptr;
    QComboBox* combomvrag = nullptr;
    QPushButton* Button3 = nullptr;
    QPushButton* Button2 = nullptr;
    // In the order of kMonsterFields; the move range is combomvrag, not a spin field.
    std::array<SpinField*, kEditableColumns> fields_{};
    std::array<QLabel*, kEditableColumns> captions_{};
};
