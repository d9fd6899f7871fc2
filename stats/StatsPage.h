#pragma once
// The "Monster Stats" page: the monster list, and a locked panel of number fields
// that shows one monster's stored line and, in the edit state, stores changes into it.
//
// Typed values (StatsPage::settleTypedValues): everything that acts on the monster table while the
// stats page is in its edit state passes this one function first: the stats page's save, Ctrl+S,
// Ctrl+T and the table button (EditorWindows), the monster table window's saves and changes (its
// `setUnlocking`, wired by EditorWindows) and ending the program. It asks once through
// `MessageBoxes::askAboutTypedValues` (Store, Discard, Cancel, in the close question's box with
// other words): Store stores as OK does, Discard leaves the edit state as Cancel does, and only
// then the action goes on.

#include <array>
#include <optional>

#include <QIcon>
#include <QWidget>

#include "MonsterFields.h"
#include "MonsterTable.h"

class EditorDocument;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolButton;
class QPushButton;
class QTreeView;
class SpinField;

class StatsPage : public QWidget {
    Q_OBJECT
public:
    explicit StatsPage(EditorDocument& document, QWidget* parent = nullptr);

    // Lists monsters 0 .. monstercount-1 and selects the first, which shows it.
    void fillList();

    int selectedIndex() const;  // -1 when no row is selected
    // Selects the row; the page shows it as after a click. Out of range: nothing.
    void selectIndex(int index);
    bool editing() const { return editing_; }
    // The one way past the edit state for whatever acts on the monster table (a save,
    // the monster table window, ending the program): typed values are never dropped
    // without a word. In the edit state the operator is asked, over `asker`, whether to
    // store the fields' values before `action` ("saving data/monster.txt"): Store stores
    // them as OK does, Discard leaves them as Cancel does; both go on (true). Cancel
    // stays in the edit state with the values (false). Not editing: true.
    bool settleTypedValues(QWidget* asker, const QString& action);
    QTreeView* monsterList() const { return monsterList_; }

    // The controls in the order Tab visits them: the list, the strip's buttons, the
    // three groups' fields row by row, then "OK" and "Cancel".
    QList<QWidget*> tabChain() const;
    // The keyboard focus to where work on the page starts: the list, or in the edit
    // state the first field.
    void focusStart();

    // What the operator's actions run; each reports its own failure.
    void showSelectedMonster();
    void startEditing();
    void fieldChanged();
    void storeEdits();
    void cancelEditing();
    void saveMonsterFile();

signals:
    // true when the page enters the edit state, false when it leaves it.
    void editStateChanged(bool editing);
    // The button beside the list asks for the monster table window.
    void monsterTableRequested();
    // The button below them asks for the review of the save.
    void reviewRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    // In the edit state Enter presses "OK" (or "Cancel" when it has the focus) and
    // Escape presses "Cancel"; fields pass Enter on after taking in what was typed.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Enter and Escape of the edit state; true when the key was one of them.
    bool editKey(QKeyEvent* event);
    void buildPanel();
    void placeFields();
    // The stored line of this monster as the page reads it; nothing when there is none.
    std::optional<MonsterLineFields> storedFields(int index) const;
    // Shows what was read; throws the reading's error when it stopped early.
    void showFields(const MonsterLineFields& fields);
    void showNoMonster();
    void storeMonster(int index);
    void leaveEditState();
    void monsterStored(int index);
    QWidget* fieldWidget(std::size_t index) const;  // moveRangeBox_ for the move range

    EditorDocument& document_;
    QIcon savedIcon_;
    QIcon unsavedIcon_;
    bool editing_ = false;

    class MonsterNames;
    QLineEdit* filter_ = nullptr;
    QTreeView* monsterList_ = nullptr;
    MonsterNames* names_ = nullptr;
    QFrame* strip_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QToolButton* editButton_ = nullptr;
    QToolButton* tableButton_ = nullptr;
    QFrame* statsPanel_ = nullptr;
    QGroupBox* idRow_ = nullptr;
    std::array<QGroupBox*, 3> groups_{};
    QLabel* idLabel_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QComboBox* moveRangeBox_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
    // In the order of kMonsterFields; the move range is moveRangeBox_, not a spin field.
    std::array<SpinField*, kEditableColumns> fields_{};
    std::array<QLabel*, kEditableColumns> captions_{};
};
