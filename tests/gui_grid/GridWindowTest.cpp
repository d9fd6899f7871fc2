// The monster table window: what it shows, how it sorts and filters, where it opens
// from, and the operator's way on the sample: sort by level, multiply the HP of a band
// of levels, save, and find the bytes an independent script works out; undo, save, and
// find the bytes of before.

#include <algorithm>
#include <fstream>
#include <iterator>

#include <QApplication>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QToolButton>

#include "ChangeCellsDialog.h"
#include "GridFixture.h"
#include "MainWindow.h"
#include "StatsPage.h"

namespace {

using GridWindow = GridFixture;

TEST_F(GridWindow, ShowsEveryColumnUnderTheStatsPageCaptions) {
    std::string damaged = gridLine(4, "Short  Line", {{6, "x"}});
    open({gridLine(7, "Grey  Wolf", {{4, "0"}, {13, "7"}, {18, "2500"}}), gridLine(9, "Ash Hound", {{13, "0"}}), damaged});

    QStringList captions;
    for (int column = 0; column < model->columnCount(); ++column)
        captions << model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    EXPECT_EQ(captions.join(QLatin1Char('|')),
              QStringLiteral("Id|MonsterName|LVL|HP|MP|DmgMin|DmgMax|p.Def|m.Def|AttackRate|DefRate|MoveRange|"
                             "moveSpeed|AtackSpeed 2000/|RespawnTime(sec)|Poison Rezist|Ice Rezist|Lightning rezist|"
                             "Fire Rezist|Column 2|Column 14|Column 15|Column 16|Column 20|Column 21|Column 22|"
                             "Column 23|Column 24"));
    // As the fields show them: pulled into their bounds; a move range without an entry as its number.
    EXPECT_EQ(text(0, 1), QStringLiteral("Grey Wolf"));
    EXPECT_EQ(text(0, "LVL"), QStringLiteral("1"));
    EXPECT_EQ(text(0, "AtackSpeed 2000/"), QStringLiteral("2000"));
    EXPECT_EQ(text(0, "MoveRange"), QStringLiteral("7"));
    EXPECT_EQ(text(1, "MoveRange"), QStringLiteral("Cant Move"));
    EXPECT_EQ(text(0, gridColumnNamed(QStringLiteral("Column 14"))), QStringLiteral("140"));
    EXPECT_TRUE(model->index(0, fieldColumn("LVL")).data(Qt::ToolTipRole).toString().contains(QStringLiteral("holds 0")));
    EXPECT_EQ(model->headerData(2, Qt::Vertical, Qt::DisplayRole).toInt(), 3);  // the line in the file

    // A damaged line shows what could be read, changes nothing, and says why.
    EXPECT_EQ(text(2, "HP"), QStringLiteral("50"));
    EXPECT_EQ(text(2, "MP"), QString());
    EXPECT_FALSE(model->flags(model->index(2, fieldColumn("HP"))) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->flags(model->index(1, fieldColumn("HP"))) & Qt::ItemIsEditable);
    EXPECT_FALSE(model->flags(model->index(1, 1)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model->index(2, fieldColumn("MP")).data(Qt::ToolTipRole).toString().contains(QStringLiteral("'x'")));
}

TEST_F(GridWindow, HeaderClicksSortUpDownThenBackToFileOrder) {
    struct Case {
        const char* column;
        std::vector<int> up;  // the numbers in the rows; down is up reversed but for ties and empty cells
        std::vector<int> down;
    };
    const Case cases[] = {
        {"HP", {3, 2, 4, 1, 5}, {1, 2, 4, 3, 5}},  // numbers as numbers, ties in file order, the unread cell last
        {"MonsterName", {2, 3, 1, 4, 5}, {5, 4, 1, 3, 2}},  // any case
        {"Id", {1, 2, 3, 4, 5}, {5, 4, 3, 2, 1}},
        {"Column 2", {1, 2, 4, 5, 3}, {5, 1, 2, 4, 3}},  // numbers before texts, either way
    };
    const std::string damaged = gridLine(5, "zeta", {{5, "x"}}).replace(2, 1, "9");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.column);
        open({gridLine(1, "Delta", {{5, "100"}}), gridLine(2, "alpha", {{5, "20"}}),
              gridLine(3, "Beta", {{5, "3"}}).replace(2, 1, "b"), gridLine(4, "Gamma", {{5, "20"}}), damaged});
        std::vector<int> file = shownIds();
        ASSERT_EQ(file, (std::vector<int>{1, 2, 3, 4, 5}));
        const int column = fieldColumn(c.column);
        clickHeader(column);
        EXPECT_EQ(shownIds(), c.up);
        EXPECT_LE(view->selectionModel()->selectedIndexes().size(), 1) << "a header click sorts, not selects";
        EXPECT_EQ(view->horizontalHeader()->sortIndicatorSection(), column);
        clickHeader(column);
        EXPECT_EQ(shownIds(), c.down);
        clickHeader(column);
        EXPECT_EQ(shownIds(), file);
        EXPECT_EQ(model->sortColumn(), -1);
    }
}

// Monsters chosen elsewhere (the balance chart) are selected in the rows they are in
// now, in the chosen field alone, the first of them current; hidden ones stay out.
TEST_F(GridWindow, MonstersChosenElsewhereAreSelectedInTheirRowsNow) {
    const int hp = fieldColumn("HP");
    const struct {
        const char* name;
        std::vector<int> monsters;  // table indexes
        const char* sortBy;
        const char* filter;
        std::vector<int> rows;
    } cases[] = {
        {"the first row", {0}, nullptr, "", {0}},
        {"runs of rows", {3, 0, 1}, nullptr, "", {0, 1, 3}},
        {"the last row", {4}, nullptr, "", {4}},
        {"sorted: where they are now", {0, 2}, "HP", "", {0, 4}},
        {"filtered: a hidden monster stays out", {0, 1, 2}, nullptr, "b", {0}},
        {"none", {}, nullptr, "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        open({gridLine(1, "a", {{5, "50"}}), gridLine(2, "b", {{5, "40"}}), gridLine(3, "c", {{5, "10"}}),
              gridLine(4, "d", {{5, "30"}}), gridLine(5, "e", {{5, "20"}})});
        if (c.sortBy) clickHeader(fieldColumn(c.sortBy));
        window->filterField()->setText(QString::fromLatin1(c.filter));
        QApplication::processEvents();
        window->selectMonsters(c.monsters, gridColumn(hp).field);
        std::vector<int> rows;
        for (const QModelIndex& cell : view->selectionModel()->selectedIndexes()) {
            EXPECT_EQ(cell.column(), hp);
            rows.push_back(cell.row());
        }
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(rows, c.rows);
        if (!c.rows.empty()) {
            EXPECT_EQ(view->selectionModel()->currentIndex(), model->index(c.rows.front(), hp));
        }
        EXPECT_TRUE(recorder().messages.empty());
    }
}

// The rows kept keep their lines in the file as their headers, and the header is wide
// enough to show them whole.
TEST_F(GridWindow, TheFilterFindsByPartOfTheNameOrByNumber) {
    std::vector<std::string> lines = {gridLine(12, "Ash Hound"), gridLine(7, "Grey Wolf")};
    for (int filler = 0; filler < 8; ++filler) lines.push_back(gridLine(200 + filler, "Bat"));
    lines.push_back(gridLine(120, "Wolf Mother"));
    lines.push_back(gridLine(3, "Moth 12"));
    open(lines);
    const struct {
        const char* typed;
        std::vector<int> ids;
        std::vector<int> lines;
    } cases[] = {{"wolf", {7, 120}, {2, 11}},
                 {"12", {12, 3}, {1, 12}},
                 {"120", {120}, {11}},
                 {"moth", {120, 3}, {11, 12}},
                 {"  ", {12, 7, 200, 201, 202, 203, 204, 205, 206, 207, 120, 3}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
                 {"none", {}, {}}};
    QHeaderView* header = view->verticalHeader();
    for (const auto& c : cases) {
        window->filterField()->setText(QString::fromLatin1(c.typed));
        QApplication::processEvents();
        EXPECT_EQ(shownIds(), c.ids) << c.typed;
        std::vector<int> shownLines;
        for (int row = 0; row < model->rowCount(); ++row) {
            const QString line = model->headerData(row, Qt::Vertical, Qt::DisplayRole).toString();
            shownLines.push_back(line.toInt());
            QStyleOptionHeader option;
            option.initFrom(header);
            option.text = line;
            const QSize needed = header->style()->sizeFromContents(QStyle::CT_HeaderSection, &option, QSize(), header);
            EXPECT_GE(header->width(), needed.width()) << c.typed << ": line " << line.toStdString() << " is cut";
        }
        EXPECT_EQ(shownLines, c.lines) << c.typed;
    }
    QTest::keyClick(window->filterField(), Qt::Key_Escape);
    EXPECT_EQ(model->rowCount(), 12);
}

TEST_F(GridWindow, OpensFromTheMainWindowAndFromTheStatsPage) {
    open({gridLine(1, "A")});
    window->hide();
    MainWindow& main = windows->mainWindow();
    main.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(window->isVisible());
    window->hide();
    auto* button = main.statsPage()->findChild<QToolButton*>(QStringLiteral("MonsterTableButton"));
    ASSERT_NE(button, nullptr);
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(&windows->monsterGrid(), window);  // one window for the run
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
}

std::string sampleMonsterFile() {
    std::ifstream file(VARNEX_SOURCE_DIR "/sample/data/monster.txt", std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The sample's bytes after the change, as the independent script works them out.
std::string expectedBytes(const char* column, int lowest, int highest, const char* percent) {
    QProcess script;
    script.start(QStringLiteral("python3"),
                 {QStringLiteral(VARNEX_SOURCE_DIR "/tests/gui_grid/expected_change.py"),
                  QStringLiteral(VARNEX_SOURCE_DIR "/sample/data/monster.txt"), QString::fromLatin1(column),
                  QString::number(lowest), QString::number(highest), QString::fromLatin1(percent)});
    EXPECT_TRUE(script.waitForFinished(30000));
    EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    return script.readAllStandardOutput().toStdString();
}

TEST_F(GridWindow, MultipliesABandOfLevelsOfTheSampleAsTheScriptWorksItOut) {
    const struct {
        const char* caption;
        const char* lineColumn;
        int lowest, highest;
        const char* percent;
    } cases[] = {
        {"HP", "5", 40, 60, "120"},
        {"MP", "6", 1, 30, "87.5"},
        {"AtackSpeed 2000/", "18", 1, 255, "150"},  // many pulled back to 2000
        {"moveSpeed", "17", 100, 200, "0"},         // all pulled up to 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caption);
        openFile(sampleMonsterFile());
        const std::string unedited = saved();

        // Sort by level and select the column's cells of the band, as the operator does.
        clickHeader(fieldColumn("LVL"));
        std::vector<int> band;
        for (int row = 0; row < model->rowCount(); ++row)
            if (const int level = text(row, "LVL").toInt(); level >= c.lowest && level <= c.highest) band.push_back(row);
        ASSERT_FALSE(band.empty());
        const int column = fieldColumn(c.caption);
        view->setCurrentIndex(model->index(band.front(), column));
        view->scrollTo(model->index(band.back(), column));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::ShiftModifier,
                          view->visualRect(model->index(band.back(), column)).center());
        ASSERT_EQ(view->selectionModel()->selectedIndexes().size(), static_cast<qsizetype>(band.size()));

        QTest::keyClick(view, Qt::Key_E, Qt::ControlModifier);
        ChangeCellsDialog* dialog = window->changeDialog();
        ASSERT_NE(dialog, nullptr);
        dialog->setKind(ValueChangeKind::Multiply);
        dialog->amountField()->setText(QString::fromLatin1(c.percent));
        EXPECT_TRUE(dialog->previewText().contains(QStringLiteral("would change"))) << dialog->previewText().toStdString();
        const int steps = history().count();
        QTest::mouseClick(dialog->applyButton(), Qt::LeftButton);
        EXPECT_EQ(history().count(), steps + 1) << "one step for the whole change";

        EXPECT_EQ(saved(), expectedBytes(c.lineColumn, c.lowest, c.highest, c.percent));
        QTest::keyClick(view, Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(saved(), unedited);
        EXPECT_TRUE(recorder().messages.empty());
    }
}

}  // namespace
