// The balance chart through EditorWindows, as the operator uses it: on the sample, the
// HP outliers of the fighting monsters (worked out apart from the editor), chosen with
// the mouse, set to the trend and saved, byte for byte, and undone; a box of monsters
// selected in the monster table too, where "Change..." applies to them; the table's
// filter and selection followed; an edit anywhere moving its point at once; the stats
// page's edit state; the column and the scale; the pictures saved.

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

#include "BalanceChartView.h"
#include "BalanceWindow.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "GridColumns.h"
#include "GridView.h"
#include "MainWindow.h"
#include "MessageRecorder.h"
#include "MonsterGridModel.h"
#include "MonsterFields.h"
#include "MonsterGridWindow.h"
#include "StatsPage.h"
#include "TempFolder.h"

namespace {

std::string sampleFile(const char* relative) {
    std::ifstream in(std::string(VARNEX_SOURCE_DIR) + "/sample/" + relative, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// The file's lines, with these replaced (by line index).
std::string withLines(const std::string& bytes, const std::vector<std::pair<std::size_t, std::string>>& replaced) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", start);
        lines.push_back(bytes.substr(start, end - start));
        start = end == std::string::npos ? bytes.size() : end + 2;
    }
    for (const auto& [index, line] : replaced) lines[index] = line;
    std::string joined;
    for (const std::string& line : lines) joined += line + "\r\n";
    return joined;
}

}  // namespace

class BalanceTest : public ::testing::Test {
public:
    void SetUp() override { recorder().clear(); }

    void openOn(const std::string& monsterFile) {
        folder.write("data/monster.txt", monsterFile);
        folder.write("data/Quarnel.txt", sampleFile("data/Quarnel.txt"));
        windows = std::make_unique<EditorWindows>(folder.path(), folder.path(), loadTables(folder.path()));
        windows->mainWindow().activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&windows->mainWindow()));
    }
    void openSample() { openOn(sampleFile("data/monster.txt")); }

    // Ctrl+G in the main window.
    BalanceWindow* openChart() {
        QWidget* focus = QApplication::focusWidget();
        QTest::keySequence(focus ? focus : &windows->mainWindow(), QKeySequence(Qt::CTRL | Qt::Key_G));
        BalanceWindow* chart = &windows->balanceChart();
        EXPECT_TRUE(chart->isVisible());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(chart));
        return chart;
    }

    EditorDocument& document() const { return windows->document(); }
    int monsterNumbered(int id) const { return document().monsters().indexOf(id); }
    std::vector<int> monstersNumbered(std::vector<int> ids) const {
        std::vector<int> monsters;
        for (const int id : ids) monsters.push_back(monsterNumbered(id));
        std::sort(monsters.begin(), monsters.end());
        return monsters;
    }
    QPoint pixelOf(BalanceWindow* chart, int id) const {
        const auto pixel = chart->chartView()->pixelOf(monsterNumbered(id));
        EXPECT_TRUE(pixel.has_value()) << "monster " << id << " is not drawn";
        return pixel.value_or(QPoint());
    }
    void click(BalanceWindow* chart, int id, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(chart->chartView()->viewport(), Qt::LeftButton, modifiers, pixelOf(chart, id));
    }
    std::string saved() {
        EXPECT_TRUE(document().save(TableFile::Monsters, [](const std::string&) { return true; }));
        return folder.read("data/monster.txt");
    }

    TempFolder folder;
    std::unique_ptr<EditorWindows> windows;
};

namespace {

const QStringList kSampleOutliers = {
    "Mossback Toad (10): HP 146, 80 % below the trend at level 2",
    "Thistle Wisp (11): HP 197, 74 % below the trend at level 3",
    "Queen of Brambles (200): HP 150768, 290 % above the trend at level 100",
    "Gravel Nipper (12): HP 284, 65 % below the trend at level 5",
    "The Drowned Marquis (201): HP 172746, 236 % above the trend at level 107",
    "Marrow Colossus (98): HP 34729, 58 % below the trend at level 119",
    "Veilwalker (97): HP 32929, 55 % below the trend at level 116",
    "Old Grindle Who Waits (202): HP 199248, 169 % above the trend at level 116",
};

}  // namespace

TEST_F(BalanceTest, TheSamplesOutliersChosenSetToTheTrendSavedAndUndone) {
    openSample();
    BalanceWindow* chart = openChart();
    EXPECT_EQ(chart->windowTitle().toStdString(), "Balance \u2014 HP by level");
    auto* leaveOut = chart->findChild<QCheckBox*>(QStringLiteral("BalanceLeaveOutNonCombat"));
    QTest::mouseClick(leaveOut, Qt::LeftButton, {}, QPoint(8, leaveOut->height() / 2));
    EXPECT_EQ(chart->outlierLines().join(QLatin1Char('\n')).toStdString(), kSampleOutliers.join(QLatin1Char('\n')).toStdString());

    // A line of the outlier list, clicked or taken with Enter, chooses its monster; the
    // line after the last monster's, none.
    auto* list = chart->findChild<QListWidget*>(QStringLiteral("BalanceOutliers"));
    const struct {
        int line;
        bool byKey;
        std::vector<int> chosen;
    } lines[] = {{2, false, monstersNumbered({200})}, {3, true, monstersNumbered({12})}};
    for (const auto& l : lines) {
        QListWidgetItem* item = list->item(l.line);
        if (l.byKey) {
            list->setCurrentItem(item);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
        }
        EXPECT_EQ(chart->selectedMonsters(), l.chosen) << l.line;
        EXPECT_EQ(windows->monsterGrid().selectedMonsters(), l.chosen) << l.line;
        EXPECT_EQ(windows->mainWindow().statsPage()->selectedIndex(), l.chosen.front()) << l.line;
    }

    // Hovering names the monster; a click chooses it here, in the table and on the page.
    // (QTest's move of a widget only places the cursor where no window system moves it.)
    QWidget* viewport = chart->chartView()->viewport();
    QMouseEvent move(QEvent::MouseMove, pixelOf(chart, 200), viewport->mapToGlobal(pixelOf(chart, 200)), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    EXPECT_EQ(chart->hoverText().toStdString(), "Queen of Brambles (200): HP 150768 at level 100");
    click(chart, 10);
    click(chart, 11, Qt::ControlModifier);
    const std::vector<int> chosen = monstersNumbered({10, 11});
    EXPECT_EQ(chart->selectedMonsters(), chosen);
    EXPECT_EQ(chart->chartView()->markedMonsters(), chosen);
    EXPECT_EQ(windows->monsterGrid().selectedMonsters(), chosen);
    EXPECT_EQ(windows->mainWindow().statsPage()->selectedIndex(), monsterNumbered(10));

    // The trend at levels 2 and 3 is 727.42 and 757.51; each line is written as "OK"
    // writes it (moveSpeed 0 of the toad as 1), every other line as a save writes it.
    const std::string before = saved();
    QTest::mouseClick(chart->findChild<QPushButton*>(QStringLiteral("BalanceSetToTrend")), Qt::LeftButton);
    EXPECT_EQ(chart->statusText().toStdString(), "Set HP of 2 monsters to the trend: 2 changed.");
    EXPECT_EQ(document().history(TableFile::Monsters).count(), 1);
    EXPECT_EQ(saved(), withLines(before, {{8, "10\t1\t\"Mossback Toad\"\t2\t727\t37\t10\t17\t3\t2\t29\t15\t0\t9\t2\t5\t1\t1400\t"
                                               "20\t2\t1\t10\t0\t8\t0\t5\t7\t4"},
                                          {9, "11\t1\t\"Thistle Wisp\"\t3\t758\t0\t13\t19\t7\t15\t33\t24\t4\t4\t1\t1\t400\t2000\t"
                                              "60\t2\t0\t11\t0\t2\t5\t0\t0\t2"}}));
    // The chart follows: both are on the trend now, and fitted again.
    EXPECT_EQ(chart->outlierLines().filter(QStringLiteral("Mossback")).size(), 0);

    // Ctrl+Z in the chart takes the step back.
    chart->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(chart));
    QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(document().history(TableFile::Monsters).index(), 0);
    QApplication::processEvents();
    EXPECT_EQ(chart->outlierLines().join(QLatin1Char('\n')).toStdString(), kSampleOutliers.join(QLatin1Char('\n')).toStdString());
    EXPECT_EQ(saved(), before);
}

TEST_F(BalanceTest, ABoxSelectsInTheTableWhereChangeAppliesToIt) {
    openSample();
    BalanceWindow* chart = openChart();
    // The eight bosses, levels 100 to 150 with HP 150768 and more; nothing else lies there.
    const std::vector<int> bosses = {200, 201, 202, 203, 204, 206, 208, 211};
    QRect around;
    for (const int id : bosses) around |= QRect(pixelOf(chart, id), QSize(1, 1));
    around.adjust(-4, -4, 4, 4);
    QWidget* viewport = chart->chartView()->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, {}, around.topLeft());
    QTest::mouseMove(viewport, around.center());
    QTest::mouseMove(viewport, around.bottomRight());
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, around.bottomRight());
    EXPECT_EQ(chart->selectedMonsters(), monstersNumbered(bosses));
    MonsterGridWindow& grid = windows->monsterGrid();
    EXPECT_EQ(grid.selectedMonsters(), monstersNumbered(bosses));

    // "Change..." there halves their HP, and the chart follows at once.
    grid.changeSelectedCells({ValueChangeKind::Multiply, 5000});
    QApplication::processEvents();
    const BalancePlot& plot = chart->plot();
    const auto at = std::find(plot.monsters.begin(), plot.monsters.end(), monsterNumbered(200)) - plot.monsters.begin();
    EXPECT_EQ(plot.points[static_cast<std::size_t>(at)].value, 75384);
    EXPECT_EQ(document().history(TableFile::Monsters).count(), 1);

    // A click beside every point clears the selection, here and in the table.
    QTest::mouseClick(viewport, Qt::LeftButton, {}, QPoint(2, 2));
    EXPECT_TRUE(chart->selectedMonsters().empty());
    EXPECT_TRUE(grid.selectedMonsters().empty());
}

TEST_F(BalanceTest, FollowsTheTablesFilterSelectionAndEveryEdit) {
    openSample();
    MonsterGridWindow& grid = windows->monsterGrid();
    grid.open();
    grid.filterField()->setText(QStringLiteral("brute"));
    grid.grid()->selectRow(grid.model()->rowOf(monsterNumbered(67)));
    BalanceWindow* chart = &windows->balanceChart();
    chart->open();
    EXPECT_EQ(chart->plot().monsters, monstersNumbered({53, 67}));  // Basalt Brute, Oaken Brute
    EXPECT_EQ(chart->chartView()->markedMonsters(), monstersNumbered({67})) << "selected before the chart was made";
    EXPECT_NE(chart->summaryText().indexOf(QStringLiteral("\"brute\"")), -1);

    grid.filterField()->setText(QString());
    EXPECT_EQ(chart->plot().monsters.size(), 96u);
    // A selection in the table is marked on the chart.
    grid.grid()->selectRow(grid.model()->rowOf(monsterNumbered(12)));
    EXPECT_EQ(chart->chartView()->markedMonsters(), monstersNumbered({12}));

    const struct {
        const char* name;
        std::function<void(BalanceTest&)> edit;
        std::int32_t level, hp;
    } edits[] = {
        {"a cell typed in the table",
         [](BalanceTest& t) {
             MonsterGridWindow& g = t.windows->monsterGrid();
             const int row = g.model()->rowOf(t.monsterNumbered(12));
             g.storeTypedCell(g.model()->index(row, gridColumnOfField(1)), QStringLiteral("5000"));
         },
         5, 5000},
        {"the level changed on the stats page",
         [](BalanceTest& t) {
             StatsPage* page = t.windows->mainWindow().statsPage();
             page->selectIndex(t.monsterNumbered(12));
             page->startEditing();
             auto* level = t.windows->mainWindow().findChild<QAbstractSpinBox*>(QStringLiteral("Vlvl"));
             level->setFocus();
             QTest::keyClick(level, Qt::Key_Up);
             page->storeEdits();
         },
         6, 5000},
        {"undone", [](BalanceTest& t) { t.document().history(TableFile::Monsters).undo(); }, 5, 5000},
        {"undone again", [](BalanceTest& t) { t.document().history(TableFile::Monsters).undo(); }, 5, 284},
    };
    for (const auto& e : edits) {
        e.edit(*this);
        QApplication::processEvents();
        const BalancePlot& plot = chart->plot();
        const auto at = static_cast<std::size_t>(
            std::find(plot.monsters.begin(), plot.monsters.end(), monsterNumbered(12)) - plot.monsters.begin());
        ASSERT_LT(at, plot.points.size()) << e.name;
        EXPECT_EQ(plot.points[at].level, e.level) << e.name;
        EXPECT_EQ(plot.points[at].value, e.hp) << e.name;
    }
}

TEST_F(BalanceTest, CtrlGAndTheTablesButtonOpenIt) {
    const struct {
        const char* name;
        std::function<void(BalanceTest&)> open;
    } ways[] = {
        {"Ctrl+G in the main window", [](BalanceTest& t) { t.openChart(); }},
        {"Ctrl+G in the monster table",
         [](BalanceTest& t) {
             t.windows->monsterGrid().open();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&t.windows->monsterGrid()));
             QTest::keySequence(QApplication::focusWidget(), QKeySequence(Qt::CTRL | Qt::Key_G));
         }},
        {"the table's button",
         [](BalanceTest& t) {
             t.windows->monsterGrid().open();
             auto* button = t.windows->monsterGrid().findChild<QAbstractButton*>(QStringLiteral("MonsterTableBalance"));
             EXPECT_EQ(button->toolTip().toStdString(),
                       "A column of the monsters shown against their level, in a chart (Ctrl+G)");
             QTest::mouseClick(button, Qt::LeftButton);
         }},
    };
    for (const auto& way : ways) {
        windows.reset();
        openSample();
        way.open(*this);
        EXPECT_TRUE(windows->balanceChart().isVisible()) << way.name;
        EXPECT_TRUE(QTest::qWaitForWindowActive(&windows->balanceChart())) << way.name;
    }
}

TEST_F(BalanceTest, NothingIsSetWhileMonsterStatsEdits) {
    // The chart opened before the edit state and during it.
    for (const bool openFirst : {true, false}) {
        windows.reset();
        openSample();
        if (!openFirst) windows->mainWindow().statsPage()->startEditing();
        BalanceWindow* chart = openChart();
        if (openFirst) windows->mainWindow().statsPage()->startEditing();
        chart->chooseMonsters({monsterNumbered(10)});
        chart->setSelectedToTrend();
        EXPECT_EQ(document().history(TableFile::Monsters).count(), 0) << openFirst;
        EXPECT_EQ(chart->statusText().toStdString(), "Monster Stats is editing a monster: OK or Cancel there first.")
            << openFirst;
        EXPECT_FALSE(chart->findChild<QPushButton*>(QStringLiteral("BalanceSetToTrend"))->isEnabled()) << openFirst;
        windows->mainWindow().statsPage()->cancelEditing();
        chart->setSelectedToTrend();
        EXPECT_EQ(document().history(TableFile::Monsters).count(), 1) << openFirst;
    }
}

TEST_F(BalanceTest, TheColumnAndTheScale) {
    openSample();
    BalanceWindow* chart = openChart();
    ASSERT_EQ(chart->plot().points.size(), 96u);
    auto* column = chart->findChild<QComboBox*>(QStringLiteral("BalanceColumn"));
    column->setCurrentIndex(column->findText(QStringLiteral("MP")));
    EXPECT_EQ(chart->windowTitle().toStdString(), "Balance \u2014 MP by level");
    // The sample's monsters with MP 0: left out of the trend, and off the logarithmic axis.
    const auto mpZero = std::count_if(chart->plot().points.begin(), chart->plot().points.end(),
                                      [](const LevelValue& p) { return p.value == 0; });
    ASSERT_GT(mpZero, 0);
    EXPECT_EQ(chart->plot().trend.leftOut, mpZero);
    EXPECT_EQ(static_cast<long>(chart->chartView()->drawnMonsters().size()), 96 - mpZero);
    EXPECT_NE(chart->summaryText().indexOf(QStringLiteral("not drawn on the logarithmic scale")), -1);
    auto* logarithmic = chart->findChild<QCheckBox*>(QStringLiteral("BalanceLogarithmic"));
    QTest::mouseClick(logarithmic, Qt::LeftButton, {}, QPoint(8, logarithmic->height() / 2));
    EXPECT_FALSE(chart->chartView()->logarithmic());
    EXPECT_EQ(chart->chartView()->drawnMonsters().size(), 96u);
}

TEST_F(BalanceTest, SavesThePictureAsPngOrSvg) {
    openSample();
    BalanceWindow* chart = openChart();
    const struct {
        const char* name;
        const char* file;
        bool saved;
        const char* starts;
    } cases[] = {
        {"PNG", "chart.png", true, "\x89PNG"},
        {"SVG, every point a shape", "chart.svg", true, "<?xml"},
        {"a folder that is not there", "none/chart.png", false, nullptr},
    };
    for (const auto& c : cases) {
        recorder().clear();
        const QString path = QString::fromStdString((folder.path() / c.file).string());
        EXPECT_EQ(chart->savePicture(path), c.saved) << c.name;
        EXPECT_EQ(recorder().errors().size(), c.saved ? 0 : 1) << c.name;
        if (!c.saved) {
            EXPECT_FALSE(folder.exists(c.file)) << c.name;
            continue;
        }
        const std::string bytes = folder.read(c.file);
        EXPECT_EQ(bytes.rfind(c.starts, 0), 0u) << c.name;
    }
    const QImage picture(QString::fromStdString((folder.path() / "chart.png").string()));
    EXPECT_EQ(picture.size(), chart->chartView()->size() * chart->chartView()->devicePixelRatio());
    const std::string drawing = folder.read("chart.svg");
    EXPECT_EQ(drawing.find("<image"), std::string::npos) << "points as pictures";
    EXPECT_NE(drawing.find("Balance \xe2\x80\x94 HP by level"), std::string::npos);
}

TEST_F(BalanceTest, TheControlsAnswerTheirAltKeys) {
    const struct {
        Qt::Key key;
        const char* focus;  // the control that has the keyboard afterwards
        bool logarithmic, leavingOut;
    } keys[] = {
        {Qt::Key_C, "BalanceColumn", true, false},
        {Qt::Key_O, "BalanceOutliers", true, false},
        {Qt::Key_L, "BalanceLogarithmic", false, false},
        {Qt::Key_N, "BalanceLeaveOutNonCombat", true, true},
    };
    for (const auto& k : keys) {
        windows.reset();
        openSample();
        BalanceWindow* chart = openChart();
        chart->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(chart));
        QTest::keyClick(chart, k.key, Qt::AltModifier);
        // A box's key clicks it as the mouse would, a moment later.
        (void)QTest::qWaitFor([&] {
            return chart->chartView()->logarithmic() == k.logarithmic && (chart->plot().nonCombatLeftOut > 0) == k.leavingOut;
        });
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        EXPECT_EQ(QApplication::focusWidget()->objectName().toStdString(), k.focus) << k.focus;
        EXPECT_EQ(chart->chartView()->logarithmic(), k.logarithmic) << k.focus;
        EXPECT_EQ(chart->plot().nonCombatLeftOut > 0, k.leavingOut) << k.focus;
    }
}

TEST_F(BalanceTest, TheSelectionIsDrawnHoweverManyChange) {
    const QColor selected(0xf5, 0x79, 0x00);
    const auto drawnColour = [](BalanceWindow* chart, int monster) {
        QApplication::processEvents();
        const QImage shown = chart->chartView()->viewport()->grab().toImage();
        const QPoint at = *chart->chartView()->pixelOf(monster) * shown.devicePixelRatio();
        return shown.pixelColor(at);
    };
    const struct {
        const char* name;
        std::function<void(BalanceTest&, BalanceWindow*)> select;
        int marked, unmarked;  // monster numbers
    } cases[] = {
        // Points apart from the others: Lord of the Low Tide (211), level 150; Mossback
        // Toad (10), level 2.
        {"one point clicked", [](BalanceTest& t, BalanceWindow* chart) { t.click(chart, 211); }, 211, 10},
        {"every row of the table, more than a few places to draw again",
         [](BalanceTest& t, BalanceWindow*) {
             MonsterGridWindow& grid = t.windows->monsterGrid();
             grid.grid()->selectAll();
             grid.grid()->selectionModel()->select(grid.model()->index(grid.model()->rowOf(t.monsterNumbered(10)), 0),
                                                   QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
         },
         211, 10},
    };
    for (const auto& c : cases) {
        windows.reset();
        openSample();
        BalanceWindow* chart = openChart();
        EXPECT_NE(drawnColour(chart, monsterNumbered(c.marked)), selected) << c.name;
        c.select(*this, chart);
        EXPECT_EQ(drawnColour(chart, monsterNumbered(c.marked)), selected) << c.name;
        EXPECT_NE(drawnColour(chart, monsterNumbered(c.unmarked)), selected) << c.name;
    }
}

TEST_F(BalanceTest, OpenedAgainItShowsWhatChangedWhileHidden) {
    openSample();
    BalanceWindow* chart = openChart();
    chart->hide();
    // Edited and opened again before the event loop runs: what the chart would draw at
    // its next turn is drawn as it opens.
    const int monster = monsterNumbered(12);
    MonsterStore store{monster,
                       shownValues(readMonsterLine(document().monsters().monsterlines[static_cast<std::size_t>(monster)], "", 1)),
                       true};
    store.values[kHpField] = 5000;
    document().storeMonsters({&store, 1}, QStringLiteral("edit"));
    chart->open();
    const BalancePlot& plot = chart->plot();
    const auto at = static_cast<std::size_t>(std::find(plot.monsters.begin(), plot.monsters.end(), monster) - plot.monsters.begin());
    ASSERT_LT(at, plot.points.size());
    EXPECT_EQ(plot.points[at].value, 5000);
}

TEST_F(BalanceTest, TheOutlierListIsPaintedAsTheStylePaintsAList) {
    // A name holding what looks like a place for a number is shown as it is.
    openOn(withLines(sampleFile("data/monster.txt"),
                     {{8, "10\t1\t\"Mossback %1 Toad\"\t2\t146\t37\t10\t17\t3\t2\t29\t15\t0\t9\t2\t5\t0\t1400\t20\t2"
                          "\t1\t10\t0\t8\t0\t5\t7\t4"}}));
    BalanceWindow* chart = openChart();
    chart->setLeavingOutNonCombat(true);
    EXPECT_EQ(chart->outlierLines().value(0).toStdString(), "Mossback %1 Toad (10): HP 146, 80 % below the trend at level 2");
    auto* list = chart->findChild<QListWidget*>(QStringLiteral("BalanceOutliers"));
    const struct {
        const char* name;
        int current;  // the line taken, highlighted; -1 none
        bool enabled;
    } cases[] = {{"no line taken", -1, true}, {"the second line taken", 1, true}, {"the window disabled", -1, false}};
    for (const auto& c : cases) {
        chart->setEnabled(c.enabled);
        list->setCurrentRow(c.current);
        QApplication::processEvents();
        const QImage ours = list->viewport()->grab().toImage();
        QAbstractItemDelegate* own = list->itemDelegate();
        QStyledItemDelegate styles;
        list->setItemDelegate(&styles);
        const QImage theStyles = list->viewport()->grab().toImage();
        list->setItemDelegate(own);
        EXPECT_EQ(ours, theStyles) << c.name;
    }
}

// Drawn as shapes, as the SVG draws it, every point lies where the picture on the screen
// has it and looks as it does there: a marked one, a point of the band and an outlier.
TEST_F(BalanceTest, ThePointsDrawnAsShapesLookAsOnTheScreen) {
    openSample();
    BalanceWindow* chart = openChart();
    click(chart, 211);  // Lord of the Low Tide, level 150, apart from the others
    QApplication::processEvents();
    BalanceChartView* view = chart->chartView();
    const QImage screen = view->viewport()->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    QImage shapes(view->viewport()->size(), QImage::Format_ARGB32);
    shapes.fill(Qt::white);
    {
        QPainter painter(&shapes);
        view->renderAsShapes(painter, shapes.rect());
    }
    const struct {
        int id;
        const char* what;
    } points[] = {{211, "marked"}, {10, "an outlier"}, {20, "within the band"}};
    for (const auto& p : points) {
        const QPoint at = pixelOf(chart, p.id);
        const QColor want = screen.pixelColor(at * screen.devicePixelRatio());
        const QColor got = shapes.pixelColor(at);
        const int off = std::max({std::abs(want.red() - got.red()), std::abs(want.green() - got.green()),
                                  std::abs(want.blue() - got.blue())});
        EXPECT_LE(off, 24) << p.what << ": " << want.name().toStdString() << " on the screen, "
                           << got.name().toStdString() << " drawn as shapes";
        EXPECT_NE(got, QColor(Qt::white)) << p.what;
    }
}
