// Changes through the monster table window: a typed cell, "Change...", copy and paste.
// Each is one step of the monster table's history, a value beyond its field's bounds is
// pulled in and the cell says so, and a monster changed here is saved exactly as the
// stats page's "OK" saves it.

#include <functional>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "ChangeCellsDialog.h"
#include "GridClipboard.h"
#include "GridFixture.h"
#include "MainWindow.h"
#include "SpinField.h"
#include "StatsPage.h"

namespace {

using GridEdits = GridFixture;

QWidget* focused() { return QApplication::focusWidget(); }

TEST_F(GridEdits, ATypedCellIsStoredWithinItsBoundsInOneStep) {
    struct Case {
        const char* column;
        const char* typed;  // after the key that starts the edit
        Qt::Key start;      // a digit typed at once, or F2
        Qt::Key end;        // Return stores, Escape drops
        std::int32_t stored;
        bool noted;         // the cell says the value was pulled into its bounds
    };
    const Case cases[] = {
        {"HP", "750", Qt::Key_unknown, Qt::Key_Return, 750, false},
        {"AtackSpeed 2000/", "5000", Qt::Key_unknown, Qt::Key_Return, 2000, true},
        {"HP", "99999999999", Qt::Key_unknown, Qt::Key_Return, 1000000, true},
        {"MP", "1", Qt::Key_F2, Qt::Key_Return, 601, false},  // F2 keeps what is there: 60, then 1
        {"HP", "750", Qt::Key_unknown, Qt::Key_Escape, 50, false},
        {"Fire Rezist", "-2147483648", Qt::Key_unknown, Qt::Key_Return, -2147483647 - 1, false},
        {"LVL", "0", Qt::Key_unknown, Qt::Key_Return, 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.column) + " " + c.typed);
        open({gridLine(1, "Grey  Wolf"), gridLine(2, "Ash Hound")});
        const int column = fieldColumn(c.column);
        view->setCurrentIndex(model->index(1, column));
        if (c.start == Qt::Key_F2) {
            QTest::keyClick(view, Qt::Key_F2);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_End);
        }
        // Each key goes where the keyboard is: the first to the grid, which opens the
        // cell's field, the others to that field.
        for (const char key : std::string(c.typed)) QTest::keyClick(focused(), key);
        QTest::keyClick(focused(), c.end);
        QApplication::processEvents();  // Return stores the cell once the key is handled
        EXPECT_EQ(stored(1, c.column), c.stored);
        EXPECT_EQ(history().count(), c.end == Qt::Key_Return && c.stored != stored(0, c.column) ? 1 : 0);
        EXPECT_EQ(!model->note(1, gridColumn(column).field).isEmpty(), c.noted);
        if (c.noted) {
            EXPECT_TRUE(window->statusLine()->text().contains(QStringLiteral("is beyond")));
        }
        EXPECT_EQ(view->currentIndex().row(), 1) << "no row below the last";
        EXPECT_TRUE(recorder().messages.empty());
    }
}

TEST_F(GridEdits, TheStatsPageFollowsAndUndoTakesTheCellBack) {
    open({gridLine(1, "Grey  Wolf"), gridLine(2, "Ash Hound")});
    StatsPage* page = windows->mainWindow().statsPage();
    page->selectIndex(1);
    const std::string before = document().monsters().monsterlines[1];
    window->storeTypedCell(model->index(1, fieldColumn("HP")), QStringLiteral("4321"));
    EXPECT_EQ(page->findChild<SpinField*>(QStringLiteral("VHP"))->value(), 4321);
    EXPECT_EQ(text(1, "HP"), QStringLiteral("4321"));
    history().undo();
    EXPECT_EQ(document().monsters().monsterlines[1], before);
    EXPECT_EQ(page->findChild<SpinField*>(QStringLiteral("VHP"))->value(), 50);
    EXPECT_EQ(text(1, "HP"), QStringLiteral("50"));
}

TEST_F(GridEdits, NothingChangesHereWhileTheStatsPageEditsAMonster) {
    open({gridLine(1, "A"), gridLine(2, "B")});
    StatsPage* page = windows->mainWindow().statsPage();
    page->startEditing();
    const std::vector<std::string> before = document().monsters().monsterlines;
    const int hp = fieldColumn("HP");
    const std::function<void()> attempts[] = {
        [&] { window->storeTypedCell(model->index(0, hp), QStringLiteral("99")); },
        [&] {
            select({0, 1}, {hp});
            window->changeSelectedCells({ValueChangeKind::Set, 7});
        },
        [&] { window->openChangeDialog(); },
        [&] {
            select({0}, {hp});
            window->pasteText(QStringLiteral("5"));
        },
    };
    for (const auto& attempt : attempts) {
        attempt();
        EXPECT_EQ(document().monsters().monsterlines, before);
        EXPECT_EQ(window->statusLine()->text(), QStringLiteral("Monster Stats is editing a monster: OK or Cancel there first."));
    }
    EXPECT_EQ(window->changeDialog(), nullptr);
    EXPECT_EQ(view->editTriggers(), QAbstractItemView::NoEditTriggers);

    page->cancelEditing();
    window->storeTypedCell(model->index(0, hp), QStringLiteral("99"));
    EXPECT_EQ(stored(0, "HP"), 99);
}

TEST_F(GridEdits, ChangeSetsAddsOrMultipliesTheSelectedCellsInOneStep) {
    struct Case {
        const char* what;
        ValueChange change;
        std::vector<int> rows;
        std::vector<const char*> columns;
        std::vector<std::vector<std::int32_t>> expected;  // per row, per column
        const char* preview;
        std::vector<std::pair<const char*, std::int32_t>> alsoStored{};  // in the first row's line
        const char* status = nullptr;
    };
    using enum ValueChangeKind;
    const Case cases[] = {
        {"multiply", {Multiply, 12500}, {0, 1, 2}, {"HP"}, {{63}, {1250}, {1000000}}, "3 cells would change; 1 value is",
         {}, "Multiplied 3 cells of HP by 125 %: 3 changed, 1 pulled into the field's bounds."},
        {"values beyond their bounds in other columns of the lines written anew",
         {Set, 70},
         {4, 5},
         {"HP"},
         {{70}, {70}},
         "2 cells would change; no value leaves its field's bounds. Their lines are written anew with every value in "
         "its field's bounds, so 3 more values would change: LVL from 0 to 1 (1 monster), moveSpeed from 0 to 1 (2 "
         "monsters).",
         {{"LVL", 1}, {"moveSpeed", 1}},
         "Set 2 cells of HP to 70: 2 changed. Their lines were written anew with every value in its bounds, so 3 more "
         "values changed too: LVL from 0 to 1 (1 monster), moveSpeed from 0 to 1 (2 monsters)."},
        {"add", {Add, -75}, {0, 2}, {"MP", "DmgMin"}, {{0, 1}, {0, 1}}, "4 cells would change; 4 values are"},
        {"set", {Set, 5}, {1}, {"MoveRange"}, {{5}}, "1 cell would change; no value"},
        {"nothing changes", {Multiply, 10000}, {0, 1}, {"HP"}, {{50}, {1000}}, "0 cells would change"},
        {"a damaged line", {Add, 1}, {1, 3}, {"HP"}, {{1001}, {50}}, "1 cell of lines that cannot be read"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        open({gridLine(1, "A"), gridLine(2, "B", {{5, "1000"}}), gridLine(3, "C", {{5, "900000"}}),
              gridLine(4, "D", {{6, "x"}}), gridLine(5, "E", {{4, "0"}, {17, "0"}}), gridLine(6, "F", {{17, "0"}})});
        std::vector<int> columns;
        for (const char* caption : c.columns) columns.push_back(fieldColumn(caption));
        select(c.rows, columns);
        window->openChangeDialog();
        ChangeCellsDialog* dialog = window->changeDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->setKind(c.change.kind);
        dialog->amountField()->setText(c.change.kind == Multiply ? QString::number(c.change.amount / 100.0)
                                                                 : QString::number(c.change.amount));
        EXPECT_TRUE(dialog->previewText().contains(QString::fromLatin1(c.preview))) << dialog->previewText().toStdString();
        // Lines are said to be written anew only when they pull in values of their own.
        EXPECT_EQ(dialog->previewText().contains(QStringLiteral("written anew")), !c.alsoStored.empty());
        // However many lines the preview takes, the dialog shows them all.
        const auto* preview = dialog->findChild<QLabel*>(QStringLiteral("ChangePreview"));
        EXPECT_GE(preview->height(), preview->heightForWidth(preview->width()));
        QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
        for (std::size_t r = 0; r < c.rows.size(); ++r)
            for (std::size_t k = 0; k < c.columns.size(); ++k)
                EXPECT_EQ(stored(c.rows[r], c.columns[k]), c.expected[r][k]) << c.columns[k] << " row " << c.rows[r];
        EXPECT_EQ(history().count(), std::string(c.what) == "nothing changes" ? 0 : 1);
        if (std::string(c.what) == "multiply") {
            EXPECT_EQ(history().undoText(), QStringLiteral("multiply 3 cells of HP by 125 %"));
            EXPECT_EQ(model->note(2, gridColumn(fieldColumn("HP")).field),
                      QStringLiteral("1125000 was asked for; the field takes 1..1000000, so 1000000 was stored."));
            EXPECT_EQ(model->note(1, gridColumn(fieldColumn("HP")).field), QString());
        }
        if (c.status) {
            EXPECT_EQ(window->statusLine()->text(), QString::fromLatin1(c.status));
        }
        for (const auto& [caption, value] : c.alsoStored) {
            EXPECT_EQ(stored(c.rows.front(), caption), value) << caption;
            // The cell says what the file held.
            const QString note = model->note(c.rows.front(), gridColumn(fieldColumn(caption)).field);
            EXPECT_EQ(note, QStringLiteral("The file held 0, beyond the field's %1..%2; the line was written anew with %3.")
                                .arg(value)
                                .arg(caption == std::string("LVL") ? 255 : 1000000)
                                .arg(value));
        }
    }
}

// The values rewritten lines pull into their bounds, grouped by field and value in the
// order met, the first few named.
TEST(RewrittenValues, AreNamedByFieldAndValueAndTheRestCounted) {
    const int level = 0;
    const int hp = 1;
    const int speed = 10;
    const struct {
        const char* name;
        std::vector<FieldEdit> rewritten;
        const char* text;
    } cases[] = {
        {"none", {}, ""},
        {"one", {{3, speed, 0}}, "moveSpeed from 0 to 1 (1 monster)"},
        {"the same value of the same field in several monsters",
         {{3, speed, 0}, {4, level, 0}, {5, speed, 0}, {5, level, 300}},
         "moveSpeed from 0 to 1 (2 monsters), LVL from 0 to 1 (1 monster), LVL from 300 to 255 (1 monster)"},
        {"as many groups as are named",
         {{1, hp, 0}, {1, speed, 0}, {1, level, 0}, {2, level, 999}},
         "HP from 0 to 1 (1 monster), moveSpeed from 0 to 1 (1 monster), LVL from 0 to 1 (1 monster), LVL from 999 "
         "to 255 (1 monster)"},
        {"one more", {{1, hp, 0}, {1, speed, 0}, {1, level, 0}, {2, level, 999}, {2, hp, -4}},
         "HP from 0 to 1 (1 monster), moveSpeed from 0 to 1 (1 monster), LVL from 0 to 1 (1 monster), LVL from 999 "
         "to 255 (1 monster) and 1 other"},
        {"two more", {{1, hp, 0}, {1, speed, 0}, {1, level, 0}, {2, level, 999}, {2, hp, -4}, {3, hp, -5}, {4, hp, -5}},
         "HP from 0 to 1 (1 monster), moveSpeed from 0 to 1 (1 monster), LVL from 0 to 1 (1 monster), LVL from 999 "
         "to 255 (1 monster) and 2 others"},
    };
    for (const auto& c : cases) {
        EditPlan plan;
        plan.rewritten = c.rewritten;
        EXPECT_EQ(rewrittenValuesText(plan), QString::fromLatin1(c.text)) << c.name;
    }
}

TEST_F(GridEdits, CopyGivesTheSelectedRowsAndColumnsUnderAHeader) {
    open({gridLine(1, "Grey  Wolf", {{13, "0"}}), gridLine(2, "Ash Hound", {{4, "0"}})});
    select({0, 1}, {0, 1, fieldColumn("LVL"), fieldColumn("MoveRange"), fieldColumn("Column 14")});
    window->copySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Id\tMonsterName\tLVL\tMoveRange\tColumn 14\n"
                                                                "1\tGrey Wolf\t10\t0\t140\n"
                                                                "2\tAsh Hound\t1\t3\t140\n"));
}

// With the selection cleared (as a filter or a reset of the rows leaves it), the cell
// with the keyboard is what Ctrl+C copies; else the selection alone.
TEST_F(GridEdits, CopyTakesTheCurrentCellOnlyWithoutASelection) {
    open({gridLine(1, "Grey Wolf", {}), gridLine(2, "Ash Hound", {})});
    view->selectionModel()->setCurrentIndex(model->index(1, fieldColumn("LVL")), QItemSelectionModel::Clear);
    ASSERT_TRUE(view->selectionModel()->selection().isEmpty());
    window->copySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("LVL\n10\n"));
    // With a selection, the cell with the keyboard is not added to it.
    view->selectionModel()->select(model->index(0, fieldColumn("HP")), QItemSelectionModel::ClearAndSelect);
    window->copySelection();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("HP\n50\n"));
}

// Three whole monsters and a damaged one; the block is pasted onto the selected cells.
// Text as spreadsheets and scripts write it is read as they mean it; anything else is
// refused, naming the first cell at fault (a long one by its beginning).
TEST_F(GridEdits, APasteChangesExactlyItsCellsOrNothingAndNamesTheCellAtFault) {
    struct Case {
        const char* what;
        std::vector<int> rows;
        std::vector<const char*> columns;
        std::string pasted;
        std::vector<std::tuple<int, const char*, std::int32_t>> changed;  // monster, column, stored value
        const char* error;  // the start of the message; nothing changes
    };
    const std::string longCell(5000, 'x');
    const auto repeated = [](const std::string& line, int times) {
        std::string text;
        for (int i = 0; i < times; ++i) text += line;
        return text;
    };
    const Case cases[] = {
        {"rows copied with their header, two numbers and a column changed",
         {0},
         {"Id"},
         "Id\tMonsterName\tHP\tMP\r\n1\tA\t51\t7\r\n2\tB\t50\t7\r\n3\tC\t99\t7\r\n",
         {{0, "HP", 51}, {0, "MP", 7}, {1, "MP", 7}, {2, "HP", 99}, {2, "MP", 7}},
         nullptr},
        {"a block without a header, from the selected cell", {1}, {"MP"}, "1\t2\n3\t4", {{1, "MP", 1}, {1, "DmgMin", 2}, {2, "MP", 3}, {2, "DmgMin", 4}}, nullptr},
        {"lines ended by CR alone, the last one too", {1}, {"MP"}, "1\t2\r3\t4\r", {{1, "MP", 1}, {1, "DmgMin", 2}, {2, "MP", 3}, {2, "DmgMin", 4}}, nullptr},
        {"a spreadsheet's empty column at the right: every line ends in a tab", {0}, {"Id"}, "HP\tId\tMP\t\r\n51\t1\t7\t\r\n", {{0, "HP", 51}, {0, "MP", 7}}, nullptr},
        {"empty rows and columns after the block", {0}, {"HP"}, "51\t\t\n\t\t\n\n\t\n", {{0, "HP", 51}}, nullptr},
        {"a spreadsheet's whole columns: the block, then empty rows to the sheet's end", {0}, {"Id"},
         "HP\tMP\t\t\r\n51\t7\t\t\r\n" + repeated("\t\t\t\r\n", 100000), {{0, "HP", 51}, {0, "MP", 7}}, nullptr},
        {"a header in another order and any case, some columns only", {0}, {"LVL"}, "mp\tLVL\tHp\n7\t12\t51\n8\t13\t52", {{0, "MP", 7}, {0, "LVL", 12}, {0, "HP", 51}, {1, "MP", 8}, {1, "LVL", 13}, {1, "HP", 52}}, nullptr},
        {"quoted cells are read as what they hold", {0}, {"HP"}, "\"HP\"\t\"MonsterName\"\n\"4001\"\t\"A\"\n\" 12 \"\t\"B\"\r\n", {{0, "HP", 4001}, {1, "HP", 12}}, nullptr},
        {"blanks around a number", {0}, {"HP"}, " 51 \t  7\t\n", {{0, "HP", 51}, {0, "MP", 7}}, nullptr},
        {"one row onto every selected row", {0, 2}, {"Poison Rezist", "Ice Rezist"}, "-5\t6\n", {{0, "Poison Rezist", -5}, {0, "Ice Rezist", 6}, {2, "Poison Rezist", -5}, {2, "Ice Rezist", 6}}, nullptr},
        {"values pulled into their bounds", {0}, {"AtackSpeed 2000/"}, "5000\n0", {{0, "AtackSpeed 2000/", 2000}, {1, "AtackSpeed 2000/", 1}}, nullptr},
        {"not a whole number", {0}, {"HP"}, "HP\tMP\n51\t7\n12a\t7\n", {}, "Nothing was pasted. Row 3, column 1 of the pasted text holds \"12a\": that is not a whole number."},
        {"an empty cell", {0}, {"HP"}, "51\t\t7", {}, "Nothing was pasted. Row 1, column 2 of the pasted text holds nothing: that is not a whole number."},
        {"a doubled quote in a quoted cell is a quote", {0}, {"HP"}, "\"\"\"4001\"\"\"", {}, "Nothing was pasted. Row 1, column 1 of the pasted text holds \"\"4001\"\": that is not a whole number."},
        {"a line end in a quoted cell is the cell's", {0}, {"HP"}, "\"1\n2\"\t7\n", {}, "Nothing was pasted. Row 1, column 1 of the pasted text holds \"1\\x0a2\": that is not a whole number."},
        {"a quote inside a cell that does not start with one", {0}, {"HP"}, "12\"3\t7", {}, "Nothing was pasted. Row 1, column 1 of the pasted text holds \"12\"3\": that is not a whole number."},
        {"text after a closing quote", {0}, {"HP"}, "\"12\"3\t7", {}, "Nothing was pasted. Row 1, column 1 of the pasted text holds \"\"12\"3\": that is not a whole number."},
        {"a quote never closed", {0}, {"HP"}, "7\t\"12\n13\t14\n", {}, "Nothing was pasted. Row 1, column 2 of the pasted text holds \"\"12\\x0a13\\t14\": the quote that opens the cell is never closed."},
        {"a long cell is named by its beginning", {0}, {"HP"}, "1\t" + longCell + "\n", {}, "Nothing was pasted. Row 1, column 2 of the pasted text holds \"xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx\u2026\": that is not a whole number."},
        {"another monster's number", {1}, {"Id"}, "Id\tHP\n1\t51\n", {}, "Nothing was pasted. Row 2, column 1 of the pasted text holds \"1\": the monster of that row is number 2"},
        {"a changed name", {0}, {"MonsterName"}, "Grey Wolf\t51", {}, "Nothing was pasted. Row 1, column 1 of the pasted text holds \"Grey Wolf\": the monster of that row is \"A\""},
        {"an unedited column changed", {0}, {"Column 14"}, "141", {}, "Nothing was pasted. Row 1, column 1 of the pasted text holds \"141\": column 14 of that monster's line holds \"140\""},
        {"a header naming a column twice", {0}, {"HP"}, "HP\tMP\thp\n1\t2\t3\n", {}, "Nothing was pasted. Row 1, column 3 of the pasted text holds \"hp\": column 1 of the pasted text names \"HP\" already"},
        {"a header naming no column", {0}, {"HP"}, "HP\tHit Points\n1\t2\n", {}, "Nothing was pasted. Row 1, column 2 of the pasted text holds \"Hit Points\": a header row names a column of the table by its caption above each column of values, and this names none."},
        {"a header with a gap", {0}, {"HP"}, "HP\t\tMP\n1\t2\t3\n", {}, "Nothing was pasted. Row 1, column 2 of the pasted text holds nothing: a header row names a column of the table by its caption above each column of values, and this names none."},
        {"beyond the last column", {0}, {"Column 24"}, "240\t1", {}, "Nothing was pasted. Row 1, column 2 of the pasted text holds \"1\": it falls beyond the table's last column."},
        {"beyond the last row", {2}, {"HP"}, "1\n2\n3", {}, "Nothing was pasted. Row 3, column 1 of the pasted text holds \"3\": the table ends before this row."},
        {"thousands of rows", {1}, {"HP"}, repeated("1\r\n", 5000) + "x", {}, "Nothing was pasted. Row 4, column 1 of the pasted text holds \"1\": the table ends before this row."},
        {"a value far to the right", {0}, {"HP"}, "51" + repeated("\t", 60) + "7", {}, "Nothing was pasted. Row 1, column 26 of the pasted text holds nothing: it falls beyond the table's last column."},
        {"more rows than selected", {0, 1}, {"HP"}, "1\n2\n3", {}, "Nothing was pasted. Row 3, column 1 of the pasted text holds \"3\": the block has 3 rows of values where 2 rows are selected."},
        {"an empty row inside the block", {0, 1, 2}, {"HP"}, "1\n\n3\n\n", {}, "Nothing was pasted. Row 2, column 1 of the pasted text holds nothing: that is not a whole number."},
        {"more columns than selected", {0}, {"HP", "MP"}, "1\t2\t3\t\t", {}, "Nothing was pasted. Row 1, column 3 of the pasted text holds \"3\": the block has 3 columns where 2 are selected."},
        {"a short row", {0}, {"HP"}, "1\t2\n3", {}, "Nothing was pasted. Row 2, column 2 of the pasted text holds nothing: other rows of the block have 2 columns."},
        {"a damaged line", {2}, {"HP"}, "1\n2", {}, "Nothing was pasted. Row 2, column 1 of the pasted text holds \"2\": it goes onto line 4, which cannot be read in full"},
        {"no text", {0}, {"HP"}, "", {}, "Nothing was pasted: the clipboard holds no text."},
        {"blanks and line ends only", {0}, {"HP"}, " \t\r\n\t \n", {}, "Nothing was pasted: the clipboard holds no text."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        recorder().clear();
        open({gridLine(1, "A"), gridLine(2, "B"), gridLine(3, "C"), gridLine(4, "D", {{6, "x"}})});
        const std::vector<std::string> before = document().monsters().monsterlines;
        std::vector<int> columns;
        for (const char* caption : c.columns) columns.push_back(fieldColumn(caption));
        select(c.rows, columns);
        QApplication::clipboard()->setText(QString::fromStdString(c.pasted));
        QTest::keyClick(view, Qt::Key_V, Qt::ControlModifier);

        std::vector<std::string> expected = before;
        if (c.error) {
            ASSERT_EQ(recorder().errors().size(), 1);
            EXPECT_TRUE(recorder().errors().front().startsWith(QString::fromUtf8(c.error)))
                << recorder().errors().front().toStdString();
            EXPECT_EQ(window->statusLine()->text(), recorder().errors().front());
            EXPECT_EQ(history().count(), 0);
        } else {
            EXPECT_TRUE(recorder().messages.empty());
            EXPECT_EQ(history().count(), 1);
            for (const auto& [monster, caption, value] : c.changed) EXPECT_EQ(stored(monster, caption), value) << caption;
        }
        // Every line that no pasted value changes stays as it was, byte for byte.
        for (std::size_t i = 0; i < before.size(); ++i) {
            bool changed = false;
            for (const auto& cell : c.changed) changed = changed || std::get<0>(cell) == static_cast<int>(i);
            if (!changed) {
                EXPECT_EQ(document().monsters().monsterlines[i], before[i]) << "line " << i + 1;
            }
        }
    }
}

// A monster changed in the grid is saved as the stats page's "OK" saves it, whatever
// its line held: blanks between the name's words, values beyond their bounds, a move
// range without an entry.
TEST_F(GridEdits, AMonsterIsSavedAsTheStatsPageSavesIt) {
    const std::string lines[] = {
        gridLine(1, "Grey  Wolf"),
        gridLine(2, "Ash Hound", {{4, "0"}, {5, "0"}, {18, "2500"}, {13, "9"}, {25, "-7"}}),
        "3  0 \"Old   Toad\"  5  " + std::string("60 0 0 0 0 0 0 0 2 0 0 0 400 1500 30 0 0 0 0 0 1 2 3 4"),
    };
    for (const std::string& line : lines) {
        SCOPED_TRACE(line);
        open({line});
        window->storeTypedCell(model->index(0, fieldColumn("HP")), QStringLiteral("777"));
        const std::string byGrid = saved();

        open({line});
        StatsPage* page = windows->mainWindow().statsPage();
        page->selectIndex(0);
        page->startEditing();
        page->findChild<SpinField*>(QStringLiteral("VHP"))->setValue(777);
        page->storeEdits();
        EXPECT_EQ(byGrid, saved());
    }
}

}  // namespace
