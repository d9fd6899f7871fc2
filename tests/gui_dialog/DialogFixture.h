#pragma once
// The add-location dialog among its real neighbours, on tables filled in place: the
// program's windows, made and wired as the program makes them.

#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "ListRows.h"
#include "MainWindow.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "TempFolder.h"
#include "AddSpotDialog.h"
#include "MapPreviewWindow.h"

// Table order: index 0 moves and has spots on maps 3 and 0, index 1 stands still
// and has none, index 2 moves and has one spot on map 5.
inline constexpr int kWalker = 10;
inline constexpr int kStatue = 20;
inline constexpr int kRunner = 30;

inline SpawnEntry fixtureSpot(int monster, int map, int type, int x0, int y0, int x1 = 0, int y1 = 0) {
    SpawnEntry e;
    e.ispoint = isPointType(type);
    e.mapnumber = static_cast<std::uint8_t>(map);
    e.x0 = static_cast<std::uint8_t>(x0);
    e.y0 = static_cast<std::uint8_t>(y0);
    e.x1 = static_cast<std::uint8_t>(x1);
    e.y1 = static_cast<std::uint8_t>(y1);
    e.distance = 10;
    e.count = 3;
    e.spottype = static_cast<std::uint8_t>(type);
    e.monsterid = monster;
    e.dir = -1;
    return e;
}

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { makeWindows(standardTables()); }

    static TableLoad standardTables() {
        TableLoad tables;
        addMonster(tables.monsters, kWalker, "Walker", 12, true);
        addMonster(tables.monsters, kStatue, "Statue", 3, false);
        addMonster(tables.monsters, kRunner, "Runner", 40, true);
        tables.spawns.append(fixtureSpot(kWalker, 3, 2, 50, 60));
        tables.spawns.append(fixtureSpot(kWalker, 0, 1, 10, 20, 30, 40));
        tables.spawns.append(fixtureSpot(kRunner, 5, 0, 70, 80));
        return tables;
    }

    // The first fill chooses Walker, map 3.
    void makeWindows(TableLoad tables) {
        recorder().clear();
        windows.reset();
        windows = std::make_unique<EditorWindows>(folder.path(), folder.path(), std::move(tables), 800);
        page = windows->mainWindow().spawnPage();
        dialog = &windows->addSpotDialog();
        preview = &windows->mapPreview();
        for (int i = 0; i < document().monsters().monstercount; ++i)
            dialog->monsterCombo()->addItem(QString::number(document().monsters().monsters[i].id));
    }

    static void addMonster(MonsterTable& table, int id, const char* name, int level, bool moves) {
        MonsterDataRecord& m = table.monsters[static_cast<std::size_t>(table.monstercount++)];
        m.id = id;
        m.name = name;
        m.level = static_cast<std::uint8_t>(level);
        m.canmove = moves;
    }

    const EditorDocument& document() const { return windows->document(); }

    // As the operator choosing the item at this index of MonsterIDcombo.
    void chooseMonster(int index) {
        dialog->monsterCombo()->setCurrentIndex(index);
        dialog->showChosenMonster();
    }

    void showDialog() {
        dialog->show();
        dialog->activateWindow();
        QApplication::setActiveWindow(dialog);
    }

    SpinField* field(const char* name) const {
        auto* f = dialog->findChild<SpinField*>(QString::fromLatin1(name));
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
    int pageIndex() const {
        return dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex();
    }
    QString labelText(const char* name) const {
        return dialog->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    TempFolder folder;
    std::unique_ptr<EditorWindows> windows;
    SpawnPage* page = nullptr;
    AddSpotDialog* dialog = nullptr;
    MapPreviewWindow* preview = nullptr;
};
