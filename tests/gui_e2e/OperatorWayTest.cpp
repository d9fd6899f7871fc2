// The operator's whole way through the program, on files of our own: start, choose
// a monster, compose a range spot by dragging on the map preview and a point spot by
// clicking on it, create them, see them listed and drawn, delete an older spot, save
// the spawn file and find exactly the expected bytes in it.

#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

#include "ListRows.h"
#include "EditorDocument.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "TempFolder.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "SplashWindow.h"
#include "MapPreviewWindow.h"

namespace {

// Three monsters of 28 columns; column 13 says whether they move.
constexpr const char* kMonsterFile =
    "5\t0\t\"Mossback Toad\"\t4\t100\t0\t10\t20\t5\t5\t10\t10\t2\t0\t0\t0\t5\t1500\t30\t0\t0\t0\t0\t0\t1\t1\t1\t1\r\n"
    "8\t0\t\"Gate Warden\"\t20\t500\t10\t30\t40\t25\t25\t30\t30\t0\t0\t0\t0\t0\t1200\t60\t0\t0\t0\t0\t0\t5\t5\t5\t5\r\n"
    "12 1 \"Ash Hound\" 15 300 0 25 35 12 12 25 25 3 0 0 0 7 1400 40 0 0 0 0 0 2 2 2 2\r\n";

constexpr const char* kSpawnFile =
    "// spawn places for the walk-through\r\n"
    "0\r\n"
    "8\t0\t3\t120\t130\t-1\r\n"
    "end\r\n"
    "1\r\n"
    "  5 0 10 10 20 30 40 -1 4   // toads by the pond\r\n"
    "12\t1\t5\t60\t60\t90\t90\t2\t6\r\n"
    "end\r\n";

constexpr const char* kSavedSpawnFile =
    "0\r\n"
    "8\t0\t3\t120\t130\t-1\r\n"
    "end\r\n"
    "1\r\n"
    "5\t0\t10\t10\t20\t30\t40\t-1\t4\r\n"
    "12\t0\t5\t100\t50\t200\t150\t-1\t5\r\n"
    "end\r\n"
    "2\r\n"
    "12\t0\t9\t30\t220\t3\r\n"
    "end\r\n"
    "3\r\nend\r\n4\r\nend\r\n";

template <class T>
T* child(const QWidget* parent, const char* name) {
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

QPushButton* buttonWithText(const QWidget* parent, const QString& text) {
    for (QPushButton* button : parent->findChildren<QPushButton*>())
        if (button->text() == text) return button;
    return nullptr;
}

}  // namespace

TEST(OperatorWay, AddsSpotsFromTheMapDeletesOneAndSaves) {
    TempFolder folder;
    folder.write("data/monster.txt", kMonsterFile);
    folder.write("data/Quarnel.txt", kSpawnFile);
    QImage dark(256, 256, QImage::Format_RGB32);
    dark.fill(QColor(20, 40, 20));
    std::filesystem::create_directories(folder.path() / "VarnexMaps");
    ASSERT_TRUE(dark.save(QString::fromStdString((folder.path() / "VarnexMaps" / "0.jpg").string()), "JPG"));
    recorder().clear();

    // Start: the splash, dismissed by a click on its picture, brings up the rest.
    SplashWindow splash(folder.path(), folder.path());
    splash.show();
    QTest::mouseClick(child<QLabel>(&splash, "Image1"), Qt::LeftButton);
    ASSERT_TRUE(splash.dismissed());
    MainWindow* main = splash.mainWindow();
    AddSpotDialog* dialog = splash.addSpotDialog();
    MapPreviewWindow* preview = splash.mapPreview();
    ASSERT_TRUE(main && dialog && preview);
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(preview->isVisible());
    ASSERT_TRUE(recorder().messages.empty()) << recorder().errors().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(main->document().spawns().count, 3);

    // Choose the third monster on the position page.
    main->pages()->setCurrentIndex(1);
    SpawnPage* page = main->spawnPage();
    QTreeView* monsters = page->monsterList();
    ASSERT_GT(rowCount(monsters), 2);
    ASSERT_EQ(cellText(monsters, 2, 1), QStringLiteral("Ash Hound"));
    QTest::mouseClick(monsters->viewport(), Qt::LeftButton, {}, rowRect(monsters, 2).center());
    ASSERT_EQ(page->selectedMonsterIndex(), 2);
    ASSERT_EQ(page->mapCombo()->currentText(), QStringLiteral("1"));

    // Open the dialog from the range list's page.
    page->showRangeListPage();
    QPushButton* addSpot = buttonWithText(page->rangeSpotList()->parentWidget(), QStringLiteral("AddSpot window"));
    ASSERT_NE(addSpot, nullptr);
    addSpot->click();
    ASSERT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->monsterCombo()->currentText(), QStringLiteral("12"));
    EXPECT_EQ(dialog->spotType(), 1);

    // Show map 0 and drag a rectangle from cell (200, 50) to cell (100, 150).
    child<SpinField>(dialog, "SpinEdit2")->setValue(0);
    child<QToolButton>(dialog, "SpeedButton2")->click();
    ASSERT_TRUE(preview->isVisible());
    EXPECT_TRUE(preview->selection().showselection);
    EXPECT_EQ(preview->title(), QStringLiteral("Map  Preview  ( Ash Hound, 0 )  "));
    QWidget* surface = child<QWidget>(preview, "PaintBox1");
    ASSERT_EQ(preview->zoom(), 1);
    QTest::mousePress(surface, Qt::LeftButton, {}, QPoint(200, 206));
    QTest::mouseRelease(surface, Qt::LeftButton, {}, QPoint(100, 106));

    // Read it back and create.
    child<QToolButton>(dialog, "SpeedButton3")->click();
    EXPECT_EQ(child<SpinField>(dialog, "SpinX0")->value(), 100);
    EXPECT_EQ(child<SpinField>(dialog, "SpinX1")->value(), 200);
    EXPECT_EQ(child<SpinField>(dialog, "SpinY0")->value(), 50);
    EXPECT_EQ(child<SpinField>(dialog, "SpinY1")->value(), 150);
    child<QPushButton>(dialog, "Button1")->click();
    ASSERT_TRUE(recorder().messages.empty()) << recorder().errors().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(main->document().spawns().count, 4);

    // Listed on the page, on its map.
    EXPECT_EQ(page->mapCombo()->currentText(), QStringLiteral("0"));
    QTreeView* ranges = page->rangeSpotList();
    ASSERT_EQ(rowCount(ranges), 1);
    EXPECT_EQ(rowTexts(ranges, 0), QStringList({"3", "100", "200", "50", "150", "5", "-1", "5"}));

    // Drawn on the preview, back in spot mode: an outline from column 99 to 198 and
    // row 106 to 203 over the dark picture.
    EXPECT_FALSE(preview->selection().showselection);
    const QImage shot = surface->grab().toImage();
    const QRgb white = qRgb(255, 255, 255);
    EXPECT_EQ(shot.pixel(99, 106), white);
    EXPECT_EQ(shot.pixel(198, 203), white);
    EXPECT_EQ(shot.pixel(99, 203), white);
    EXPECT_NE(shot.pixel(150, 150), white);
    EXPECT_NE(shot.pixel(97, 104), white);

    // Then a point spot: the "Point Spot" tab makes it "Monsters (Point Spot)" for this
    // moving monster and the preview picks one cell; bottom right on the keypad faces 3.
    auto* dialogPages = child<QTabWidget>(dialog, "PageControl1");
    QTabBar* tabs = dialogPages->tabBar();
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(0).center());
    ASSERT_EQ(dialogPages->currentIndex(), 0);
    EXPECT_EQ(dialog->spotType(), 2);
    EXPECT_TRUE(preview->selection().showselection);
    EXPECT_TRUE(preview->selection().pointselection);
    auto* keypadKey = child<QRadioButton>(dialog, "RadioButton9");
    QTest::mouseClick(keypadKey, Qt::LeftButton, {}, keypadKey->rect().center());
    EXPECT_EQ(dialog->faceDirection(), 3);
    child<SpinField>(dialog, "SpinEdit1")->setValue(9);
    QTest::mouseClick(surface, Qt::LeftButton, {}, QPoint(30, 36));  // cell (30, 220)
    child<QToolButton>(dialog, "SpeedButton5")->click();
    EXPECT_EQ(child<SpinField>(dialog, "SpinEditX")->value(), 30);
    EXPECT_EQ(child<SpinField>(dialog, "SpinEditY")->value(), 220);
    child<QPushButton>(dialog, "Button1")->click();
    ASSERT_TRUE(recorder().messages.empty()) << recorder().errors().join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(main->document().spawns().count, 5);

    EXPECT_EQ(page->spotPages()->currentWidget(), page->pointSpotList()->parentWidget());
    QTreeView* points = page->pointSpotList();
    ASSERT_EQ(rowCount(points), 1);
    EXPECT_EQ(rowTexts(points, 0), QStringList({"4", "30", "220", "9", "3"}));
    EXPECT_EQ(rowCount(ranges), 1) << "the range spot is still listed";
    EXPECT_FALSE(preview->selection().showselection);
    const QImage second = surface->grab().toImage();
    // A 2 by 2 square just above and left of the cell's pixel (30, 36).
    EXPECT_EQ(second.pixel(29, 34), white) << "the new point spot is drawn";
    EXPECT_EQ(second.pixel(30, 35), white);
    EXPECT_NE(second.pixel(31, 36), white);
    EXPECT_EQ(second.pixel(99, 106), white) << "and the range spot still is";

    // Close the dialog, go to the hound's other map and delete its spot there: the
    // map leaves the list, the hound keeps its icon for map 0.
    child<QToolButton>(dialog, "SpeedButton4")->click();
    EXPECT_FALSE(dialog->isVisible());
    QComboBox* maps = page->mapCombo();
    ASSERT_EQ(maps->count(), 2);
    maps->setFocus();
    QTest::keyClick(maps, Qt::Key_Up);
    ASSERT_EQ(maps->currentText(), QStringLiteral("1"));
    ASSERT_EQ(rowCount(ranges), 1);
    ASSERT_EQ(cellText(ranges, 0, 0), QStringLiteral("2"));
    QTest::mouseClick(ranges->viewport(), Qt::LeftButton, {}, rowRect(ranges, 0).center());
    QPushButton* deleteRange = buttonWithText(ranges->parentWidget(), QStringLiteral("Delete Spot"));
    ASSERT_NE(deleteRange, nullptr);
    ASSERT_TRUE(deleteRange->isEnabled());
    deleteRange->click();
    EXPECT_EQ(rowCount(ranges), 0);
    EXPECT_EQ(maps->count(), 1);
    EXPECT_EQ(maps->itemText(0), QStringLiteral("0"));

    // Save, and compare the file byte for byte.
    child<QToolButton>(page, "SpeedButton1")->click();
    ASSERT_TRUE(recorder().messages.empty()) << recorder().errors().join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(folder.read("data/Quarnel.txt"), kSavedSpawnFile);
}
