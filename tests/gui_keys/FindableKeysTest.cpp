// The keys an operator can find: every shortcut of every window is a row of the one
// table of keys (which the key list and the tooltips show), F1 and Ctrl+H work from
// every window (and Ctrl+Shift+D, the review of the save), the monster list's menu opens by the mouse and the keyboard and offers
// its actions with their keys, and the keys the table names besides do what it says.

#include <functional>
#include <vector>

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <QUndoStack>

#ifdef VARNEX_BALANCE
#include "BalanceWindow.h"
#endif
#include "EditorDocument.h"
#include "HistoryWindow.h"
#include "KeyListWindow.h"
#include "OverviewGeometry.h"
#include "OverviewSurface.h"
#include "KeyboardFixture.h"
#include "MenuRun.h"
#include "MonsterGridWindow.h"
#include "ProgramKeys.h"
#include "ReviewWindow.h"
#include "SpawnPage.h"
#include "StatsPage.h"

namespace {

struct WindowKeys {
    const char* name;
    std::function<QWidget*(KeyboardTest&)> window;  // opened
    std::vector<KeyPlace> places;                  // the table's rows that hold there
};

const std::vector<WindowKeys>& windowKeys() {
    using enum KeyPlace;
    static const std::vector<WindowKeys> windows = {
        {"main window", [](KeyboardTest& t) { return static_cast<QWidget*>(t.main()); },
         {Everywhere, EditingWindows, MainWindow, StatsPage, SpawnPage}},
        {"add-location dialog",
         [](KeyboardTest& t) {
             t.main()->spawnPage()->openAddSpotDialog();
             return static_cast<QWidget*>(t.dialog());
         },
         {EditingWindows, AddSpotDialog}},
        {"map preview",
         [](KeyboardTest& t) {
             t.main()->spawnPage()->showPreview();
             return static_cast<QWidget*>(t.preview());
         },
         {EditingWindows, MapPreview}},
        {"map overview",
         [](KeyboardTest& t) {
             t.overview()->openOnMap(1);
             return static_cast<QWidget*>(t.overview());
         },
         {EditingWindows, MapOverview}},
        {"monster table",
         [](KeyboardTest& t) {
             t.windows()->monsterGrid().open();
             return static_cast<QWidget*>(&t.windows()->monsterGrid());
         },
         {EditingWindows, MonsterTable}},
#ifdef VARNEX_BALANCE
        {"balance chart",
         [](KeyboardTest& t) {
             t.windows()->openBalanceChart();
             return static_cast<QWidget*>(&t.windows()->balanceChart());
         },
         {EditingWindows, BalanceChart}},
#endif
        {"history",
         [](KeyboardTest& t) {
             t.windows()->showHistory();
             return static_cast<QWidget*>(&t.windows()->historyWindow());
         },
         {HistoryWindow}},
        {"key list",
         [](KeyboardTest& t) {
             t.windows()->showKeyList();
             return static_cast<QWidget*>(&t.windows()->keyList());
         },
         {KeyList}},
        {"review of the save",
         [](KeyboardTest& t) {
             t.windows()->showReview();
             return static_cast<QWidget*>(&t.windows()->reviewWindow());
         },
         {ReviewWindow}},
    };
    return windows;
}

bool holds(const WindowKeys& w, KeyPlace place) {
    return std::find(w.places.begin(), w.places.end(), place) != w.places.end();
}

QList<QShortcut*> shortcutsOf(QWidget* window) {
    QList<QShortcut*> found;
    for (QShortcut* shortcut : window->findChildren<QShortcut*>())
        if (qobject_cast<QWidget*>(shortcut->parent())->window() == window) found << shortcut;
    return found;
}

std::string keysOfShortcut(const QShortcut* shortcut) { return keyText(shortcut->keys()).toStdString(); }

}  // namespace

TEST_F(KeyboardTest, EveryShortcutIsARowOfTheKeyTableAndEveryRowHasItsShortcut) {
    main()->switchPageKeepingMonster();
    for (const WindowKeys& w : windowKeys()) {
        QWidget* window = w.window(*this);
        const QList<QShortcut*> shortcuts = shortcutsOf(window);
        for (const QShortcut* shortcut : shortcuts) {
            bool listed = false;
            for (const ProgramKey& row : programKeys())
                listed = listed || (row.action != KeyAction::None && holds(w, row.place) &&
                                    keysOf(row.action) == shortcut->keys());
            EXPECT_TRUE(listed) << w.name << ": " << keysOfShortcut(shortcut) << " is not in the table";
        }
        for (const ProgramKey& row : programKeys()) {
            if (row.action == KeyAction::None || !holds(w, row.place)) continue;
            const bool made = std::any_of(shortcuts.begin(), shortcuts.end(), [&](const QShortcut* s) {
                const bool context = row.place == KeyPlace::Everywhere ? s->context() == Qt::ApplicationShortcut
                                                                       : s->context() == Qt::WindowShortcut;
                return s->keys() == keysOf(row.action) && context;
            });
            EXPECT_TRUE(made) << w.name << ": no shortcut for " << row.keys;
        }
    }
}

// The key list shows each window's keys under one heading of that window's name, in the
// table's order, and names the key of every row: the mouse's rows ("Click") too.
TEST(KeyList, OneHeadingPerWindowAndEveryRowsKey) {
    KeyListWindow window;
    QTreeWidget* list = window.list();
    std::vector<std::pair<KeyPlace, std::vector<const ProgramKey*>>> places;
    for (const ProgramKey& key : programKeys()) {
        if (places.empty() || places.back().first != key.place) places.push_back({key.place, {}});
        places.back().second.push_back(&key);
    }
    ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(places.size()));
    QStringList headings;
    int mouseRows = 0;
    for (int g = 0; g < list->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* heading = list->topLevelItem(g);
        const auto& [place, keys] = places[static_cast<std::size_t>(g)];
        SCOPED_TRACE(placeName(place).toStdString());
        EXPECT_EQ(heading->text(0), placeName(place));
        EXPECT_FALSE(headings.contains(heading->text(0))) << "one heading per window";
        headings << heading->text(0);
        ASSERT_EQ(heading->childCount(), static_cast<int>(keys.size()));
        for (int r = 0; r < heading->childCount(); ++r) {
            const ProgramKey& key = *keys[static_cast<std::size_t>(r)];
            EXPECT_EQ(heading->child(r)->text(0), keyText(key)) << key.does;
            EXPECT_FALSE(heading->child(r)->text(0).isEmpty()) << key.does;
            EXPECT_EQ(heading->child(r)->text(1), QString::fromLatin1(key.does));
            if (QString::fromLatin1(key.keys).isEmpty()) ++mouseRows;
        }
    }
    EXPECT_GE(headings.size(), 10);
    EXPECT_GE(mouseRows, 2);
}

TEST_F(KeyboardTest, F1AndCtrlHFromEveryWindow) {
    struct Key {
        QKeySequence keys;
        std::function<QWidget*(EditorWindows&)> opens;
    };
    const Key keys[] = {
        {QKeySequence(Qt::Key_F1), [](EditorWindows& w) { return static_cast<QWidget*>(&w.keyList()); }},
        {QKeySequence(Qt::CTRL | Qt::Key_H), [](EditorWindows& w) { return static_cast<QWidget*>(&w.historyWindow()); }},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_D),
         [](EditorWindows& w) { return static_cast<QWidget*>(&w.reviewWindow()); }},
    };
    for (const WindowKeys& w : windowKeys()) {
        for (const Key& key : keys) {
            start(kSpawnFile);
            main()->switchPageKeepingMonster();
            QWidget* window = w.window(*this);
            activate(window);
            QTest::keySequence(QApplication::focusWidget(), key.keys);
            QWidget* opened = key.opens(*windows());
            EXPECT_TRUE(opened->isVisible()) << w.name << ", " << key.keys.toString().toStdString();
            EXPECT_TRUE(QTest::qWaitForWindowActive(opened)) << w.name << ", " << key.keys.toString().toStdString();
            // Escape closes it again.
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
            EXPECT_FALSE(opened->isVisible()) << w.name << ", " << key.keys.toString().toStdString();
        }
    }
}

TEST_F(KeyboardTest, MonsterListMenuByMouseAndKeyboard) {
    struct Way {
        const char* name;
        std::function<void(QTreeView*)> open;
    };
    const Way ways[] = {
        {"right click on the second row",
         [](QTreeView* list) {
             const QPoint at = list->visualRect(list->model()->index(1, 0)).center();
             QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at);
             QContextMenuEvent request(QContextMenuEvent::Mouse, at, list->viewport()->mapToGlobal(at));
             QApplication::sendEvent(list->viewport(), &request);
         }},
        {"the Menu key",
         [](QTreeView* list) {
             QTest::keyClick(list, Qt::Key_Down);
             QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(4, 4), list->mapToGlobal(QPoint(4, 4)));
             QApplication::sendEvent(list, &request);
         }},
        {"Shift+F10",
         [](QTreeView* list) {
             QTest::keyClick(list, Qt::Key_Down);
             QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
         }},
    };
    for (const Way& way : ways) {
        start(kSpawnFile);
        QTreeView* list = main()->statsPage()->monsterList();
        const MenuRun run = runMenu([&] { way.open(list); }, QString());
        EXPECT_EQ(run.title, QStringLiteral("ListView1Menu")) << way.name;
        EXPECT_EQ(run.items.join(QLatin1Char('|')).toStdString(),
                  "Edit Selected\tF2|Show Its Spots on Monster Position|-|Save data/monster.txt\tCtrl+S|"
                  "[Undo\tCtrl+Z]|[Redo\tCtrl+Shift+Z]|History\tCtrl+H|-|Keys\tF1")
            << way.name;
        EXPECT_EQ(main()->statsPage()->selectedIndex(), 1) << way.name;
    }

    // What each item does, on the second monster after a stored change.
    struct Choice {
        const char* item;
        std::function<bool(KeyboardTest&)> done;
    };
    const Choice choices[] = {
        {"Edit Selected", [](KeyboardTest& t) { return t.main()->statsPage()->editing(); }},
        {"Show Its Spots",
         [](KeyboardTest& t) {
             return t.main()->pages()->currentWidget() == t.main()->spawnPage() &&
                    t.main()->spawnPage()->selectedMonsterIndex() == 1;
         }},
        {"Save data/monster.txt",
         [](KeyboardTest& t) { return t.workFolder().read("data/monster.txt") == t.main()->document().monsters().fileBytes(); }},
        {"Undo store the values of Marshtoad (5)",
         [](KeyboardTest& t) { return t.main()->document().history(TableFile::Monsters).index() == 0; }},
        {"History", [](KeyboardTest& t) { return t.windows()->historyWindow().isVisible(); }},
        {"Keys", [](KeyboardTest& t) { return t.windows()->keyList().isVisible(); }},
    };
    for (const Choice& choice : choices) {
        start(kSpawnFile);
        main()->statsPage()->startEditing();
        typeInto(main(), "Vatackspeed", "777");
        press(Qt::Key_Return);  // OK: one change of Marshtoad, the first monster
        QTreeView* list = main()->statsPage()->monsterList();
        runMenu(
            [&] {
                QTest::keyClick(list, Qt::Key_Down);
                QTest::keyClick(list, Qt::Key_F10, Qt::ShiftModifier);
            },
            QString::fromLatin1(choice.item));
        EXPECT_TRUE(choice.done(*this)) << choice.item;
        EXPECT_TRUE(recorder().errors().isEmpty()) << choice.item;
    }
}

// Keys of the main window the table lists besides its shortcuts' own tests.
TEST_F(KeyboardTest, F2EditsAndCtrlTabShowsTheOtherPage) {
    struct Case {
        const char* name;
        bool fromPositionPage;
        QKeySequence keys;
        bool positionPageShown;
        bool editing;
    };
    const Case cases[] = {
        {"F2 on Monster Stats", false, QKeySequence(Qt::Key_F2), false, true},
        {"F2 on Monster Position", true, QKeySequence(Qt::Key_F2), true, false},
        {"Ctrl+Tab", false, QKeySequence(Qt::CTRL | Qt::Key_Tab), true, false},
        {"Ctrl+Shift+Tab", true, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), false, false},
    };
    for (const Case& c : cases) {
        start(kSpawnFile);
        if (c.fromPositionPage) main()->switchPageKeepingMonster();
        QTest::keySequence(QApplication::focusWidget(), c.keys);
        EXPECT_EQ(main()->pages()->currentWidget() == main()->spawnPage(), c.positionPageShown) << c.name;
        EXPECT_EQ(main()->statsPage()->editing(), c.editing) << c.name;
    }
}

namespace {

// The spawn file's menus are opened on the "Monster Position" page (Marshtoad chosen,
// map 1) and on the overview of map 1, each one way.
QPoint overviewPixel(KeyboardTest& t, int x, int y) { return cellPixel(x, y, t.overview()->surface()->zoom()); }

void rightClickOnMap(KeyboardTest& t, QPoint pixel) {
    OverviewSurface* surface = t.overview()->surface();
    QTest::mousePress(surface, Qt::RightButton, {}, pixel);
    QContextMenuEvent request(QContextMenuEvent::Mouse, pixel, surface->mapToGlobal(pixel));
    QApplication::sendEvent(surface, &request);
}

void shiftF10(QWidget* control) {
    control->setFocus();
    QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
}

void selectFirstRow(QTreeView* list) { list->setCurrentIndex(list->model()->index(0, 0)); }

void onSpawnPage(KeyboardTest& t) {
    t.main()->switchPageKeepingMonster();
    t.main()->spawnPage()->selectMapText(QStringLiteral("1"));
    t.main()->spawnPage()->showSelectedMap();
}

void onOverview(KeyboardTest& t) {
    t.overview()->openOnMap(1);
    t.overview()->chooseZoom(1);
    KeyboardTest::activate(t.overview());
}

}  // namespace

TEST_F(KeyboardTest, TheSpawnFilesMenusListTheirActionsWithTheirKeys) {
    const std::string fileItems =
        "-|Save data/Quarnel.txt\tCtrl+S|[Undo\tCtrl+Z]|[Redo\tCtrl+Shift+Z]|History\tCtrl+H|-|Keys\tF1";
    const struct {
        const char* name;
        std::function<void(KeyboardTest&)> open;
        const char* title;
        std::string items;
    } cases[] = {
        {"the page's monster list, Shift+F10",
          [](KeyboardTest& t) { onSpawnPage(t), shiftF10(t.main()->spawnPage()->monsterList()); },
         "allmonsterlistMenu",
         "AddSpot window|Map Preview|Map Overview\tCtrl+M|Show Its Values on Monster Stats|" + fileItems},
        {"the point list, the Menu key",
          [](KeyboardTest& t) {
              onSpawnPage(t);
              QTreeView* list = t.main()->spawnPage()->pointSpotList();
              selectFirstRow(list);
              QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(4, 4), list->mapToGlobal(QPoint(4, 4)));
              QApplication::sendEvent(list, &request);
          },
         nullptr, "Change in Add Monster Location\tDouble-click|Delete Spot|Show on the Map Overview|" + fileItems},
        {"the range list of map 1, none there",
          [](KeyboardTest& t) {
              onSpawnPage(t);
              t.main()->spawnPage()->showRangeListPage();
              shiftF10(t.main()->spawnPage()->rangeSpotList());
          },
         nullptr,
         "[Change in Add Monster Location\tDouble-click]|[Delete Spot]|[Show on the Map Overview]|" + fileItems},
        {"a right click on a spot of the overview",
          [](KeyboardTest& t) { onOverview(t), rightClickOnMap(t, overviewPixel(t, 120, 130)); },
         "OverviewSurfaceMenu",
         "Change in Add Monster Location\tDouble-click|-|Select All\tCtrl+A|Clear Selection\tEsc|Delete Spot\tDel|"
         "[Set the Count of the Range...]|Set the Direction of the Spot...|-|Copy Spot\tCtrl+C|[Paste Here\tCtrl+V]|"
         "[Paste for Monster...\tCtrl+Shift+V]|" +
             fileItems},
        {"the Menu key on the overview with two spots selected",
          [](KeyboardTest& t) {
              onOverview(t);
              t.overview()->selectAllShown();
              QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(), QPoint());
              QApplication::sendEvent(t.overview()->surface(), &request);
          },
         "OverviewSurfaceMenu",
         "[Change in Add Monster Location\tDouble-click]|-|Select All\tCtrl+A|Clear Selection\tEsc|"
         "Delete 2 Spots\tDel|[Set the Count of the Range...]|Set the Direction of 2 Spots...|-|"
         "Copy 2 Spots\tCtrl+C|[Paste Here\tCtrl+V]|[Paste for Monster...\tCtrl+Shift+V]|" +
             fileItems},
        {"the overview's side list",
          [](KeyboardTest& t) {
              onOverview(t);
              selectFirstRow(t.overview()->monsterList());
              shiftF10(t.overview()->monsterList());
          },
         "OverviewMonstersMenu", "Select Its Spots on the Map|" + fileItems},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        QGuiApplication::clipboard()->clear();
        const MenuRun run = runMenu([&] { c.open(*this); }, QString());
        if (c.title) {
            EXPECT_EQ(run.title.toStdString(), c.title) << c.name;
        }
        EXPECT_EQ(run.items.join(QLatin1Char('|')).toStdString(), c.items) << c.name;
        EXPECT_TRUE(recorder().errors().isEmpty()) << c.name;
    }
}

TEST_F(KeyboardTest, TheSpawnFilesMenuItemsDoWhatTheySay) {
    const struct {
        const char* name;
        std::function<void(KeyboardTest&)> open;
        const char* item;
        std::function<bool(KeyboardTest&)> done;
    } cases[] = {
        {"point list", [](KeyboardTest& t) {
              onSpawnPage(t);
              selectFirstRow(t.main()->spawnPage()->pointSpotList());
              shiftF10(t.main()->spawnPage()->pointSpotList());
          },
         "Delete Spot", [](KeyboardTest& t) { return t.main()->document().spawns().liveSpot(0) == nullptr; }},
        {"point list", [](KeyboardTest& t) {
              onSpawnPage(t);
              selectFirstRow(t.main()->spawnPage()->pointSpotList());
              shiftF10(t.main()->spawnPage()->pointSpotList());
          },
         "Show on the Map Overview",
         [](KeyboardTest& t) {
             return t.overview()->isVisible() && t.overview()->map() == 1 && t.overview()->selectedSpot() == 0;
         }},
        {"page's monster list", [](KeyboardTest& t) { onSpawnPage(t), shiftF10(t.main()->spawnPage()->monsterList()); },
         "Map Overview", [](KeyboardTest& t) { return t.overview()->isVisible() && t.overview()->map() == 1; }},
        {"a spot on the overview", [](KeyboardTest& t) { onOverview(t), rightClickOnMap(t, overviewPixel(t, 120, 130)); },
         "Copy Spot",
         [](KeyboardTest& t) {
             return t.overview()->selectedSpot() == 0 &&
                    QGuiApplication::clipboard()->text() == QStringLiteral("0\r\n5\t1\t3\t120\t130\t-1\r\nend\r\n");
         }},
        {"the empty map, the clipboard holding a spot",
          [](KeyboardTest& t) {
              onOverview(t);
              QGuiApplication::clipboard()->setText(QStringLiteral("0\n5\t1\t3\t120\t130\t-1\nend\n"));
              rightClickOnMap(t, overviewPixel(t, 200, 40));
          },
         "Paste Here",
         [](KeyboardTest& t) {
             const SpawnTable& spawns = t.main()->document().spawns();
             const SpawnEntry* pasted = spawns.liveSpot(spawns.count - 1);
             return spawns.count == 4 && pasted && pasted->x0 == 200 && pasted->y0 == 40 && pasted->mapnumber == 1 &&
                    t.overview()->selectedSpots() == std::vector<std::int32_t>{3};
         }},
        {"the overview's side list",
          [](KeyboardTest& t) {
              onOverview(t);
              selectFirstRow(t.overview()->monsterList());
              shiftF10(t.overview()->monsterList());
          },
         "Select Its Spots",
         [](KeyboardTest& t) { return t.overview()->selectedSpots().size() == 2; }},
    };
    for (const auto& c : cases) {
        start(kSpawnFile);
        QGuiApplication::clipboard()->clear();
        runMenu([&] { c.open(*this); }, QString::fromLatin1(c.item));
        EXPECT_TRUE(c.done(*this)) << c.name << ": " << c.item;
        EXPECT_TRUE(recorder().errors().isEmpty()) << c.name << ": " << c.item;
    }
}
