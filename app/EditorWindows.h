#pragma once
// The editor's windows around one document, made and wired as the program runs them:
// the main window first, shown; then the hidden add-location dialog and map preview;
// then the main window's "Monster Position" page, which works with both; the map
// overview, the history and the key list when they are first opened. The windows know one another only through what is
// wired here and through the document.

#include <cstdint>
#include <filesystem>
#include <memory>

#include <QList>

#include "TableLoad.h"

class AddSpotDialog;
class BalanceWindow;
class EditorDocument;
class HistoryWindow;
class KeyListWindow;
class MainWindow;
class MapOverviewWindow;
class MapPreviewWindow;
class MonsterGridWindow;
class QWidget;
class ReviewWindow;

class EditorWindows {
public:
    // The tables are those the start-up read below workFolder; the spawn file is saved,
    // and map pictures are looked for, below programFolder. screenHeight decides the
    // preview's zoom items (0: the primary screen's).
    EditorWindows(std::filesystem::path workFolder, std::filesystem::path programFolder, TableLoad loaded,
                  int screenHeight = 0);
    ~EditorWindows();
    EditorWindows(const EditorWindows&) = delete;
    EditorWindows& operator=(const EditorWindows&) = delete;

    EditorDocument& document() const { return *document_; }
    MainWindow& mainWindow() const { return *main_; }
    AddSpotDialog& addSpotDialog() const { return *dialog_; }
    MapPreviewWindow& mapPreview() const { return *preview_; }
    // The map overview, made and wired when first asked for (by the spawn page, or here).
    MapOverviewWindow& mapOverview();
    // The history of both files (Ctrl+H) and the list of keys (F1), made when first
    // asked for; show...() brings them up, above the others.
    HistoryWindow& historyWindow();
    KeyListWindow& keyList();
    void showHistory();
    void showKeyList();
    // The monster table window, made and wired when first asked for (Ctrl+T in the main
    // window, the stats page's button, or here).
    MonsterGridWindow& monsterGrid();
    // The balance chart, made and wired when first asked for (Ctrl+G in the main window
    // and the monster table, the table's button, or here); openBalanceChart() brings it
    // up, or says that this build has none.
#ifdef VARNEX_BALANCE
    BalanceWindow& balanceChart();
#endif
    void openBalanceChart();

    // The review of the save (Ctrl+Shift+D, the buttons beside the save buttons,
    // "Review..." in the close question), made when first asked for.
    ReviewWindow& reviewWindow();
    void showReview();

private:
    // Where the review's double click leads: the monster on the monster table when it
    // is open or the stats page edits a monster, else on the stats page; a live spot on
    // the spawn page (and the overview when it is open), a deleted one's map on the
    // overview.
    void goToMonster(int index, int field);
    void goToSpot(std::int32_t spotid, int map);

    // The tool window first opens where it covers none of the main window's save,
    // delete and title buttons: where it was put, unless it would.
    void keepMainButtonsClear(QWidget* tool) const;

    // Declared in the order they are made; each outlives what is made after it.
    std::unique_ptr<EditorDocument> document_;
    std::unique_ptr<MainWindow> main_;
    std::unique_ptr<AddSpotDialog> dialog_;
    std::unique_ptr<MapPreviewWindow> preview_;
    std::unique_ptr<MapOverviewWindow> overview_;
    std::unique_ptr<MonsterGridWindow> monsterGrid_;
#ifdef VARNEX_BALANCE
    std::unique_ptr<BalanceWindow> balance_;
#endif
    std::unique_ptr<HistoryWindow> history_;
    std::unique_ptr<KeyListWindow> keyList_;
    std::unique_ptr<ReviewWindow> review_;
};
