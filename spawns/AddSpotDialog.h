#pragma once
// The add-location dialog: composes one new spot (monster, map, spot type, place,
// distance, count, facing direction) and asks the document to append it with
// "Create". While it is open the map preview shows the place being composed, and a
// place picked there can be read back into the fields.
//
// Opened on a spot (editSpot), it also changes that spot with "Apply". It then follows
// the spot as the document changes it (a drag on the map overview, an undo, another
// Apply): each field the operator has not changed since shows the spot as it is now,
// so "Apply" writes the operator's changes over the spot as it is, never values it had
// before. While the spot is deleted, "Apply" is off and the dialog says why.
//
// The dialog (spawns/AddSpotDialog.h) is the window and its first rows; its keypad
// (`DirectionKeypad`), its point and range pages (`PlacePages`, which keep a range's corners in
// order when the operator commits a number: `SpinField::committed`, an arrow step or typing ended
// by leaving the field or Enter, never a keystroke of a number being typed) and the controls they
// share (spawns/DialogParts.h) are apart; editing a spot is spawns/AddSpotEditing.cpp.

#include <unordered_map>

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include "MonsterTable.h"
#include "SpawnTable.h"

class DirectionKeypad;
class EditorDocument;
class MapPreviewWindow;
class PlacePages;
class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class SpinField;

class AddSpotDialog : public QWidget {
    Q_OBJECT
public:
    explicit AddSpotDialog(EditorDocument& document, QWidget* parent = nullptr);
    ~AddSpotDialog() override;

    // The preview it composes on; none in a dialog shown alone.
    void setPreview(MapPreviewWindow* preview);

    // Shows the dialog for the monster at this index of the monster table, on its
    // point page or its range page. A hidden dialog fills its monster list afresh.
    void openFor(int monsterIndex, bool pointPage);
    // Shows the dialog filled with a live spot's values; "Apply" then gives that spot
    // the values of the fields, in its place.
    void editSpot(std::int32_t spotid);
    std::int32_t editedSpot() const { return editedSpot_; }  // -1: none

    QComboBox* monsterCombo() const { return monsterCombo_; }
    // `currentmonster`: the record of the monster last chosen.
    const MonsterDataRecord& currentMonster() const { return currentmonster_; }
    // `facedir`: the direction the next spot gets, set by the keypad.
    int faceDirection() const;

    // The chosen spot type code 0..4. Setting a different one runs applySpotType at
    // once, as a choice by the operator does.
    int spotType() const;
    void setSpotType(int type);
    // Makes the "Point Spot" / "Range Spot" page the active one (its step runs when it
    // becomes visible).
    void showPointPage();
    void showRangePage();
    // Unfolds the body (the minimise button may have folded it).
    void unfold();

    // What the operator's actions run; each reports its own failure.
    void showChosenMonster();
    void applySpotType();
    void pointPageShown();
    void rangePageShown();
    void chooseDirection(int button);  // keypad button 1..9, row by row from the top left
    void pointFieldsChanged();
    void rangeFieldsChanged();
    void mapNumberChanged();
    void showMapAndLocation();
    void readPointFromMap();
    void readRangeFromMap();
    void createSpot();
    void applyToSpot();
    void toggleFolded();
    void closeDialog();

signals:
    // Escape closed the dialog: the keyboard goes back to where the work goes on.
    void leftByKeyboard();

protected:
    void showEvent(QShowEvent* event) override;
    // Escape closes the dialog as its close button does (the title strip's buttons
    // take no keyboard focus).
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildTitleStrip();
    void buildBody();
    void setDialogTabChain();
    void fillMonsterCombo();
    SpawnEntry composedSpot() const;
    // The steps the handlers above share; they throw, the handlers report.
    void takeChosenMonster();
    void showMonsterRecord();  // its name and level, without the spot type's rule
    void keepSpotTypeFitting();
    void runShownPageStep();
    void pointPageStep();
    void rangePageStep();
    void showChosenMap();
    void monsterStored();

    // Editing a spot (AddSpotEditing.cpp).
    void stopEditing();
    // Puts the spot's values into the fields: all of them, or, when following, only
    // those the operator has not changed since they were last put there.
    void fillFromSpot(const SpawnEntry& spot, bool following);
    bool untouched(const QObject* control, int shown) const;
    void noteValuesOutOfBounds(const SpawnEntry& spot);
    void editedSpotChanged(const SpawnEntry& spot);
    void editedSpotGone();
    void showEditState();

    EditorDocument& document_;
    QPointer<MapPreviewWindow> preview_;
    MonsterDataRecord currentmonster_;
    std::int32_t editedSpot_ = -1;
    bool editedSpotLive_ = false;
    bool keepSpotAsIs_ = false;  // while filled with a spot: its type is not adjusted
    // What each control was last given from the edited spot (the monster box its
    // monster's number, the type group its type, the keypad its direction, a number
    // field its value).
    std::unordered_map<const QObject*, int> filled_;
    QStringList valuesOutOfBounds_;  // of the spot being edited, as the fields show them

    QLabel* titleStrip_ = nullptr;
    QFrame* body_ = nullptr;
    QComboBox* monsterCombo_ = nullptr;
    QPushButton* createButton_ = nullptr;
    QPushButton* applyButton_ = nullptr;
    QLabel* editState_ = nullptr;
    SpinField* mapField_ = nullptr;
    SpinField* distanceField_ = nullptr;
    QLabel* nameLabel_ = nullptr;
    QLabel* levelLabel_ = nullptr;
    QButtonGroup* spotTypeGroup_ = nullptr;
    DirectionKeypad* keypad_ = nullptr;
    PlacePages* places_ = nullptr;
};
