#pragma once
// The add-location dialog among its real neighbours: a spawn page, a hidden preview
// and tables filled in place, created in the program's order (page, dialog, preview).

#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

#include "Forms.h"
#include "ListRows.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "TempFolder.h"
#include "Unit2.h"
#include "Unit4.h"
#include "Workspace.h"

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
    void SetUp() override {
        recorder().clear();
        addMonster(kWalker, "Walker", 12, true);
        addMonster(kStatue, "Statue", 3, false);
        addMonster(kRunner, "Runner", 40, true);
        tables.spawns.append(fixtureSpot(kWalker, 3, 2, 50, 60));
        tables.spawns.append(fixtureSpot(kWalker, 0, 1, 10, 20, 30, 40));
        tables.spawns.append(fixtureSpot(kRunner, 5, 0, 70, 80));
        forms.tables = &tables;
        forms.programFolder = folder.path();

        page = std::make_unique<SpawnPage>(forms);
        forms.spawnPage = page.get();
        page->FormShow();  // first fill: Walker, map 3
        form2 = std::make_unique<TForm2>(forms);
        forms.form2 = form2.get();
        form4 = std::make_unique<TForm4>(forms, 800);
        forms.form4 = form4.get();
        for (int i = 0; i < tables.monsters.monstercount; ++i)
            form2->monsterIdCombo()->addItem(QString::number(tables.monsters.monsters[i].id));
    }

    void TearDown() override {
        forms.form4 = nullptr;
        forms.form2 = nullptr;
        form4.reset();
        form2.reset();
        forms.spawnPage = nullptr;
        page.reset();
    }

    void addMonster(int id, const char* name, int level, bool moves) {
        MonsterDataRecord& m = tables.monsters.monsters[tables.monsters.monstercount++];
        m.id = id;
        m.name = name;
        m.level = static_cast<std::uint8_t>(level);
        m.canmove = moves;
    }

    // As the operator choosing the item at this index of MonsterIDcombo.
    void chooseMonster(int index) {
        form2->monsterIdCombo()->setCurrentIndex(index);
        form2->MonsterIDcomboChange();
    }

    void showDialog() {
        form2->show();
        form2->activateWindow();
        QApplication::setActiveWindow(form2.get());
    }

    SpinField* field(const char* name) const {
        auto* f = form2->findChild<SpinField*>(QString::fromLatin1(name));
        EXPECT_NE(f, nullptr) << name;
        return f;
    }
    int pageIndex() const {
        return form2->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->currentIndex();
    }
    QString labelText(const char* name) const {
        return form2->findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

    TempFolder folder;
    Workspace tables;
    Forms forms;
    std::unique_ptr<SpawnPage> page;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm4> form4;
};
