#pragma once
// The "Monster Position" page of the main window: spawn places by monster and map.
// It lists what the document holds and asks the document for every change; it keeps
// only what it shows: the chosen monster's spots on the chosen map (the work list),
// which the map preview draws in spot mode.

#include <array>
#include <cstdint>
#include <vector>

#include <QIcon>
#include <QPointer>
#include <QString>
#include <QWidget>

#include "MapPreviewWindow.h"
#include "WorkList.h"

class EditorDocument;
struct SpotChange;
class MonsterRows;
class QAbstractButton;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class QTreeView;
class SpotRows;

class SpawnPage : public QWidget, public ShownSpots {
    Q_OBJECT
public:
    explicit SpawnPage(EditorDocument& document, QWidget* parent = nullptr);
    ~SpawnPage() override;

    // The preview that shows this page's spots; none on a page shown alone.
    void setPreview(MapPreviewWindow* preview);

    // The first fill, once: every monster, the first one chosen with its first map.
    void fillFirstTime();
    // What choosing a monster or a map runs; each reports its own failure.
    void showSelectedMonster();
    void showSelectedMap();

    QTreeView* monsterList() const { return monsterList_; }
    QComboBox* mapCombo() const { return mapCombo_; }
    QTabWidget* spotPages() const { return spotPages_; }
    QTreeView* pointSpotList() const { return pointSpotList_; }
    QTreeView* rangeSpotList() const { return rangeSpotList_; }
    const WorkList& workList() const { return work_; }

    int selectedMonsterIndex() const;    // -1 when no row is selected
    void selectMonsterIndex(int index);  // selects without showing the monster
    int monsterIndexOf(std::int32_t number) const;  // the first row of this monster, or -1
    // Selects the map whose text is this (none when it is not listed).
    void selectMapText(const QString& text);
    void showPointListPage();
    void showRangeListPage();
    // Selects the spot's row, on its list's page, where the page lists it.
    void showSpot(std::int32_t spotid);
    // Shows the spot's monster and map, with the spot selected in its list.
    void goToSpot(std::int32_t spotid);

    // ShownSpots: the preview draws the spots only while a map is chosen.
    bool mapChosen() const override;
    std::span<const SpawnEntry> spots() const override;

    // The controls in the order Tab visits them: the monster list, the save button,
    // the map box, then the spot lists' tabs and each list with the buttons below it.
    QList<QWidget*> tabChain() const;
    // The keyboard focus to the monster list.
    void focusStart();

    void monsterListKeyReleased(int key);
    void pointSelectionChanged();
    void rangeSelectionChanged();
    void deletePointSpot();
    void deleteRangeSpot();
    void openAddSpotDialog();
    void loadMonsterIntoDialog();
    void showPreview();
    // The overview button and Ctrl+M: asks for the overview of the chosen map (0 when
    // none is chosen).
    void requestOverview();
    void saveSpawnFile();

signals:
    // "AddSpot window" and "Load current monster data to AddDialog": the dialog is to
    // show this monster (an index of the monster table) on its point or range page.
    void addSpotRequested(int monsterIndex, bool pointPage);
    // A row of a spot list was selected: this spot.
    void spotSelected(std::int32_t spotid);
    // A spot was double-clicked: it is to be changed in the add-location dialog.
    void editSpotRequested(std::int32_t spotid);
    // The map overview is to show this map.
    void overviewRequested(int map);
    // The button below the save button asks for the review of the save.
    void reviewRequested();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // The keys and the pointer on the lists and the map box (SpawnPageHooks.cpp).
    void installControlHooks();
    void monsterStep();
    void mapStep();
    // No monster chosen (a filter left none): nothing is listed, and what needs a
    // monster is off.
    void showNoMonster();
    void enableMonsterButtons();
    int selectedMonsterNumber() const;
    QString selectedMonsterName() const;
    void deleteSelectedSpot(QTreeView* list);
    void markPreviewReady();

    // Following the document (SpawnPageUpkeep.cpp).
    // The monster's spots on every map into the work list, and its maps into the map list.
    void listMonsterMaps(std::int32_t monsterid);
    void clearSpotLists();
    void fillSpotLists();
    // The lists' rows given the work list's new values in place, its new spots added below
    // them; false, changing nothing, when the work list holds other spots than the rows.
    bool updateSpotLists();
    void setMonsterIcons(std::int32_t number, bool hasSpots);
    bool showsMonster(std::int32_t number) const;
    void showMonsterOnMap(int map);
    void showListPageOf(const SpawnEntry& entry);
    void forgetMapWithoutSpots(int map);
    void spotAdded(const SpawnEntry& entry);
    void spotCreated(const SpawnEntry& entry);
    void spotDeleted(const SpawnEntry& entry);
    void forgetShownSpot(std::int32_t spotid);
    void spotChanged(const SpawnEntry& before, const SpawnEntry& after);
    void spotsChanged(const std::vector<SpotChange>& changes);
    void setIconsAfter(const std::vector<SpotChange>& changes);
    std::int32_t selectedSpotShown() const;

    EditorDocument& document_;
    QIcon savedIcon_;
    QIcon unsavedIcon_;
    QPointer<MapPreviewWindow> preview_;
    WorkList work_;
    bool filled_ = false;
    bool selectingMonster_ = false;  // the page chooses the monster itself
    bool quietSpotSelection_ = false;  // a spot row selected again after a change is not told
    bool dialogOpened_ = false;  // "AddSpot window" was pressed: the load buttons work
    // True from the first map choice on: only then does a map choice touch the preview.
    bool previewReady_ = false;

    QLineEdit* filter_ = nullptr;
    QTreeView* monsterList_ = nullptr;
    MonsterRows* monsterRows_ = nullptr;
    QFrame* strip_ = nullptr;
    QToolButton* saveButton_ = nullptr;
    QFrame* mapBox_ = nullptr;
    QLabel* mapLabel_ = nullptr;
    QComboBox* mapCombo_ = nullptr;
    QToolButton* previewButton_ = nullptr;
    QToolButton* overviewButton_ = nullptr;
    QTabWidget* spotPages_ = nullptr;
    QWidget* pointPage_ = nullptr;
    QWidget* rangePage_ = nullptr;
    QTreeView* pointSpotList_ = nullptr;
    QTreeView* rangeSpotList_ = nullptr;
    SpotRows* pointRows_ = nullptr;
    SpotRows* rangeRows_ = nullptr;
    QPushButton* deletePointButton_ = nullptr;
    QPushButton* deleteRangeButton_ = nullptr;
    std::array<QPushButton*, 2> addButtons_{};
    std::array<QPushButton*, 2> loadButtons_{};
};
