// Whatever acts on the monster table while Monster Stats is in its edit state first asks
// whether to store the typed values: Store stores them as OK does and goes on, Discard
// goes on without them, Cancel goes nowhere and keeps them in their fields. One question,
// the same for every way there.

#include <functional>
#include <string>

#include <QAbstractSpinBox>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTest>
#include <QToolButton>

#include "GridColumns.h"
#include "GridView.h"
#include "KeyboardFixture.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"
#include "StatsPage.h"

namespace {

std::string attackSpeed(const std::string& line) {
    std::size_t start = 0;
    for (int i = 0; i < 17; ++i) start = line.find('\t', start) + 1;
    return line.substr(start, line.find('\t', start) - start);
}

struct Action {
    const char* name;
    const char* asks;  // what the question names
    std::function<void(KeyboardTest&)> before;  // ahead of the edit state
    std::function<void(KeyboardTest&)> act;
    std::function<bool(KeyboardTest&)> done;
};

bool monsterFileWritten(KeyboardTest& t) { return t.workFolder().read("data/monster.txt") != kMonsterFile; }

void openTable(KeyboardTest& t) {
    MonsterGridWindow& grid = t.windows()->monsterGrid();
    grid.open();
    const QModelIndex hp = grid.model()->index(1, gridColumnOfField(1));
    grid.grid()->selectionModel()->select(hp, QItemSelectionModel::ClearAndSelect);
}

}  // namespace

TEST_F(KeyboardTest, WhatActsOnTheMonsterTableAsksFirstAboutTypedValues) {
    const Action actions[] = {
        {"the stats page's save button", "saving data/monster.txt", {},
         [](KeyboardTest& t) { t.main()->findChild<QToolButton*>(QStringLiteral("SpeedButton8"))->click(); },
         monsterFileWritten},
        {"Ctrl+S on Monster Stats", "saving data/monster.txt", {},
         [](KeyboardTest&) { KeyboardTest::press(Qt::Key_S, Qt::ControlModifier); }, monsterFileWritten},
        {"Ctrl+T", "opening the monster table", {},
         [](KeyboardTest&) { KeyboardTest::press(Qt::Key_T, Qt::ControlModifier); },
         [](KeyboardTest& t) { return t.windows()->monsterGrid().isVisible(); }},
        {"the monster table's save", "saving data/monster.txt", openTable,
         [](KeyboardTest& t) { t.windows()->monsterGrid().saveMonsterFile(); }, monsterFileWritten},
        {"a change of the monster table's cells", "changing the monster table", openTable,
         [](KeyboardTest& t) { t.windows()->monsterGrid().changeSelectedCells({ValueChangeKind::Set, 321}); },
         [](KeyboardTest& t) {
             return t.main()->document().monsters().monsterlines.at(1).find("\t321\t") != std::string::npos;
         }},
        {"closing the program", "closing", {},
         [](KeyboardTest& t) {
             recorder().closeAnswer = CloseAnswer::Discard;
             t.main()->close();
         },
         [](KeyboardTest& t) { return !t.main()->isVisible(); }},
    };
    for (const Action& a : actions) {
        for (const TypedValuesAnswer answer :
             {TypedValuesAnswer::Store, TypedValuesAnswer::Discard, TypedValuesAnswer::Cancel}) {
            const char* answerName = answer == TypedValuesAnswer::Store     ? "Store"
                                     : answer == TypedValuesAnswer::Discard ? "Discard"
                                                                            : "Cancel";
            SCOPED_TRACE(std::string(a.name) + ", " + answerName);
            start(kSpawnFile);
            if (a.before) a.before(*this);
            activate(main());
            StatsPage* stats = main()->statsPage();
            stats->startEditing();
            typeInto(main(), "Vatackspeed", "777");
            recorder().clear();
            recorder().typedValuesAnswer = answer;
            a.act(*this);
            QApplication::processEvents();

            ASSERT_FALSE(recorder().questions().isEmpty());
            const QString question = recorder().questions().front();
            EXPECT_TRUE(question.contains(QStringLiteral("Marshtoad"))) << question.toStdString();
            EXPECT_TRUE(question.contains(QString::fromLatin1(a.asks))) << question.toStdString();
            const std::string stored = attackSpeed(main()->document().monsters().monsterlines.at(0));
            EXPECT_EQ(stored, answer == TypedValuesAnswer::Store ? "777" : "1500");
            EXPECT_EQ(stats->editing(), answer == TypedValuesAnswer::Cancel);
            EXPECT_EQ(a.done(*this), answer != TypedValuesAnswer::Cancel);
            if (answer == TypedValuesAnswer::Cancel) {
                EXPECT_EQ(main()->findChild<QAbstractSpinBox*>(QStringLiteral("Vatackspeed"))->text(), "777");
            }
        }
    }
}
