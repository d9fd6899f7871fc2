// One spot on the operator's way through every window that shows it, on our sample
// tables: opened in the dialog from its row, dragged on the map overview, counted anew
// in the dialog and applied, saved from the dialog; then the undos from the overview,
// another monster chosen meanwhile, a double click on "Delete Spot" and a filter that
// leaves no monster. The saved files are compared byte for byte.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <gtest/gtest.h>

#include "AddSpotDialog.h"
#include "EditorDocument.h"
#include "EditorWindows.h"
#include "ListRows.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MessageRecorder.h"
#include "OverviewGeometry.h"
#include "OverviewSurface.h"
#include "SpawnPage.h"
#include "SpawnRows.h"
#include "SpinField.h"
#include "SplashWindow.h"
#include "TempFolder.h"

namespace {

std::string sampleFile(const char* name) {
    std::ifstream in(std::filesystem::path(VARNEX_SOURCE_DIR) / "sample" / "data" / name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The bytes with one line (CR LF included) replaced, or taken out when `by` is empty.
std::string withLine(std::string bytes, const std::string& line, const std::string& by) {
    const auto at = bytes.find(line + "\r\n");
    EXPECT_NE(at, std::string::npos) << line;
    if (at != std::string::npos) bytes.replace(at, line.size() + 2, by.empty() ? "" : by + "\r\n");
    return bytes;
}

void typeInto(QWidget* field, const char* text) {
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, QString::fromLatin1(text));
}

// A double click as the window system delivers it: press, release, the second press as
// a double click, release.
void doubleClick(QWidget* widget, QPoint at) {
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
    QMouseEvent second(QEvent::MouseButtonDblClick, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::LeftButton,
                       Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &second);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, at);
}

void dragOn(QWidget* surface, QPoint from, QPoint to) {
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at) + QPointF(0.5, 0.5), surface->mapToGlobal(QPointF(at)), button, held,
                          Qt::NoModifier);
        QApplication::sendEvent(surface, &event);
    };
    send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    send(QEvent::MouseMove, (from + to) / 2, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
}

}  // namespace

TEST(OperatorWay, OneSpotIsTheSameInEveryWindowThroughChangesAndUndos) {
    TempFolder folder;
    folder.write("data/monster.txt", sampleFile("monster.txt"));
    folder.write("data/Quarnel.txt", sampleFile("Quarnel.txt"));
    recorder().clear();
    SplashWindow splash(folder.path(), folder.path());
    splash.show();
    splash.dismiss();
    EditorWindows& windows = *splash.windows();
    MainWindow& main = windows.mainWindow();
    AddSpotDialog& dialog = windows.addSpotDialog();
    EditorDocument& document = windows.document();
    main.pages()->setCurrentIndex(1);
    QApplication::setActiveWindow(&main);
    SpawnPage* page = main.spawnPage();
    // The file as the editor writes it, with nothing changed.
    ASSERT_TRUE(document.save(TableFile::Spawns, [](const std::string&) { return true; }));
    const std::string original = folder.read("data/Quarnel.txt");
    const std::string rustclaw32 = "21\t0\t30\t212\t201\t233\t214\t-1\t10";

    // Rustclaw found by typing, chosen with Enter; its range 32 double-clicked.
    auto* filter = page->findChild<QLineEdit*>(QStringLiteral("PositionMonsterFilter"));
    typeInto(filter, "Rustclaw");
    QTest::keyClick(filter, Qt::Key_Return);
    ASSERT_EQ(cellText(page->monsterList(), page->selectedMonsterIndex(), 1), QStringLiteral("Rustclaw"));
    EXPECT_TRUE(page->monsterList()->hasFocus());
    page->showRangeListPage();
    QApplication::processEvents();  // the page laid out
    QTreeView* ranges = page->rangeSpotList();
    ASSERT_EQ(captions(ranges), QStringList({"32", "33"}));
    doubleClick(ranges->viewport(), rowRect(ranges, 0).center());
    ASSERT_TRUE(dialog.isVisible());
    ASSERT_EQ(dialog.editedSpot(), 32);

    // Dragged on the overview at 2X, 20 cells left and 10 down: the dialog follows.
    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_M, Qt::ControlModifier);
    MapOverviewWindow& overview = windows.mapOverview();
    ASSERT_TRUE(overview.isVisible());
    ASSERT_EQ(overview.map(), 0);
    overview.chooseZoom(1);
    const QPoint inside = cellPixel(222, 207, 2);
    dragOn(overview.surface(), inside, inside + QPoint(-40, 20));
    const auto field = [&](const char* name) { return dialog.findChild<SpinField*>(QString::fromLatin1(name)); };
    EXPECT_EQ(field("SpinX0")->value(), 192);
    EXPECT_EQ(field("SpinY1")->value(), 204);

    // MonsterCount 4 typed in the dialog, "Apply", Ctrl+S there: the drag and the count.
    QApplication::setActiveWindow(&dialog);
    typeInto(field("spincount"), "4");
    QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("ApplyButton")), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_S, Qt::ControlModifier);
    const std::string applied = withLine(original, rustclaw32, "21\t0\t30\t192\t191\t213\t204\t-1\t4");
    EXPECT_EQ(folder.read("data/Quarnel.txt"), applied);
    const auto drawn = [&] {
        for (const SpawnEntry& spot : overview.surface()->spots())
            if (spot.spotid == 32) return spot;
        return SpawnEntry{};
    };
    EXPECT_EQ(drawn(), document.spawns().entries[32]) << "the overview draws it as applied";

    // Lamplighter Orrin chosen on the page meanwhile; both changes undone on the overview:
    // the page keeps its monster and its map, the dialog shows the spot as it was.
    typeInto(filter, "Lamplighter");
    QTest::keyClick(filter, Qt::Key_Return);
    const QString lamplighterMap = page->mapCombo()->currentText();
    QApplication::setActiveWindow(&overview);
    QTest::keyClick(overview.surface(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(overview.surface(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(cellText(page->monsterList(), page->selectedMonsterIndex(), 1), QStringLiteral("Lamplighter Orrin"));
    EXPECT_EQ(page->mapCombo()->currentText(), lamplighterMap);
    EXPECT_EQ(field("SpinX0")->value(), 212);
    EXPECT_EQ(field("spincount")->value(), 10);
    QTest::keyClick(overview.surface(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(folder.read("data/Quarnel.txt"), original);

    // Back on Rustclaw, a double click on "Delete Spot" deletes one spot; the dialog
    // cannot apply to it any more and says why.
    typeInto(filter, "Rustclaw");
    QTest::keyClick(filter, Qt::Key_Return);
    page->showRangeListPage();
    QApplication::processEvents();
    QTest::mouseClick(ranges->viewport(), Qt::LeftButton, {}, rowRect(ranges, 0).center());
    auto* deleteRange = page->findChild<QPushButton*>(QStringLiteral("Button5"));
    doubleClick(deleteRange, deleteRange->rect().center());
    EXPECT_EQ(captions(ranges), QStringList{"33"});
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("ApplyButton"))->isEnabled());
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("EditedSpotState"))->text(),
              "Spot 32 was deleted: nothing to apply to");
    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(folder.read("data/Quarnel.txt"), withLine(original, rustclaw32, ""));

    // A filter that leaves no monster chooses none.
    typeInto(filter, "zzz");
    EXPECT_EQ(page->selectedMonsterIndex(), -1);
    EXPECT_EQ(page->mapCombo()->count(), 0);
    EXPECT_EQ(rowCount(ranges), 0);
    EXPECT_FALSE(deleteRange->isEnabled());
    EXPECT_FALSE(page->findChild<QPushButton*>(QStringLiteral("Button7"))->isEnabled()) << "AddSpot window";
    EXPECT_TRUE(recorder().messages.empty()) << recorder().errors().join(QLatin1Char('\n')).toStdString();
}
