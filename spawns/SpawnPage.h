#pragma once
// The "Monster Position" page of the main window: spawn places by monster and map.

#include <cstdint>
#include <memory>

#include <QString>
#include <QWidget>

struct Forms;
class QComboBox;
class QTreeView;
class QTabWidget;
class QAbstractButton;

class SpawnPage : public QWidget {
    Q_OBJECT
public:
    explicit SpawnPage(Forms& forms, QWidget* parent = nullptr);
    ~SpawnPage() override;

    // Run by the main window when it is shown; the first fill while previewReady is false.
    void FormShow();
    void allmonsterlistClick();
    void MapListChange();

    QTreeView* allmonsterlist() const;
    QComboBox* mapList() const;          // the control named MapList
    QTabWidget* pageControl2() const;
    QTreeView* pointlist() const;
    QTreeView* rangelist() const;

    int selectedMonsterIndex() const;    // -1 when no row is selected
    void selectMonsterIndex(int index);  // selects without running allmonsterlistClick
    int monsterIndexOf(std::int32_t number) const;  // the first row of this monster, or -1
    void setMonsterIcon(int index, bool hasSpots);
    // Selects the map whose text is this (none when it is not listed).
    void selectMapText(const QString& text);
    void showPointListPage();
    void showRangeListPage();
    // The preview draws spots only while this holds: MapList enabled with a selected item.
    bool mapSelectedForPreview() const;

    // The controls in the order Tab visits them: the monster list, the save button,
    // the map box, then the spot lists' tabs and each list with the buttons below it.
    QList<QWidget*> tabChain() const;
    // The keyboard focus to the monster list.
    void focusStart();

    void allmonsterlistKeyUp(int key);
    void pointlistSelectItem();
    void rangelistSelectItem();
    void Button4Click();  // "Delete Spot" under pointlist
    void Button5Click();  // "Delete Spot" under rangelist
    void Button6Click();  // "AddSpot window"
    void SpeedButton6Click();  // "Load current monster data to AddDialog"
    void SpeedButton9Click();  // show the preview
    void SpeedButton1Click();  // save the spawn file

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void listMonsterMaps();
    void clearSpotLists();
    void fillSpotLists();
    int selectedMonsterNumber() const;
    QString selectedMonsterName() const;
    void deleteSelectedSpot(QTreeView* list, QTreeView* other, QAbstractButton* deleteButton);

    struct Impl;
    std::unique_ptr<Impl> d_;
};
