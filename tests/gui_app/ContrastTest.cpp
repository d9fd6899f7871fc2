// Under a dark desktop palette the windows keep the design's light surfaces, so their
// text must keep the design's dark colours: the title strips, the page tabs, the lists,
// the map overview and its fields read at least 4.5:1 (the contrast WCAG asks of text),
// as drawn; pictures on buttons and disabled controls at least 3:1 (what it asks of
// controls). A disabled control is drawn as it is on a light desktop.

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <map>

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QLabel>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QRadioButton>
#include <QStyleOptionButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

#include "AddSpotDialog.h"
#include "AppFixture.h"
#include "EditorWindows.h"
#include "MainWindow.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"
#include "MessageRecorder.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"
#include "GridView.h"
#include "SpawnPage.h"
#include "SpinField.h"
#include "StatsPage.h"

namespace {

double luminance(QColor c) {
    const auto channel = [](double v) { return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
    return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF()) + 0.0722 * channel(c.blueF());
}

double contrast(QColor a, QColor b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The commonest colour of the area is its background; its text is the colour that
// stands out most from it.
double drawnContrast(QWidget* widget, QRect area) {
    const QImage image = widget->grab(area).toImage();
    std::map<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) ++counts[image.pixel(x, y)];
    const QColor background = std::max_element(counts.begin(), counts.end(), [](const auto& a, const auto& b) {
                                  return a.second < b.second;
                              })->first;
    double best = 1.0;
    for (const auto& [pixel, count] : counts) best = std::max(best, contrast(QColor(pixel), background));
    return best;
}

QPalette darkDesktopPalette() {
    QPalette dark(QColor(53, 53, 53));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::BrightText})
        dark.setColor(role, QColor(238, 238, 236));
    dark.setColor(QPalette::Window, QColor(53, 53, 53));
    dark.setColor(QPalette::Base, QColor(36, 36, 36));
    dark.setColor(QPalette::Button, QColor(53, 53, 53));
    return dark;
}

}  // namespace

TEST(DarkDesktop, TitleStripsTabsAndListsKeepTheirContrast) {
    recorder().clear();
    TempFolder work;
    writeStandardTables(work);
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(darkDesktopPalette());
    {
        const EditorWindows windows(work.path(), work.path(), loadTables(work.path()));
        MainWindow& main = windows.mainWindow();
        SpawnPage* page = main.spawnPage();
        const auto textOf = [](QWidget* w, int width) { return QRect(0, 0, std::min(width, w->width()), w->height()); };
        const auto rowsOf = [](QTreeView* list, int column) {
            const int x = list->columnViewportPosition(column);
            return QRect(x, list->visualRect(list->model()->index(1, 0)).top(), list->columnWidth(column),
                         list->visualRect(list->model()->index(1, 0)).height() * 3);
        };
        auto* previewCaption = windows.mapPreview().findChild<QLabel*>(QStringLiteral("Panel3Caption"));
        previewCaption->setText(QStringLiteral("Map  Preview  ( Ash Hound, 1 )  "));
        struct Area {
            const char* name;
            QWidget* widget;
            QRect area;
        };
        QTreeView* statsList = main.findChild<QTreeView*>(QStringLiteral("ListView1"));
        main.pages()->setCurrentWidget(page);
        const Area areas[] = {
            {"main window title strip", main.findChild<QWidget*>(QStringLiteral("Panel3")),
             textOf(main.findChild<QWidget*>(QStringLiteral("Panel3")), 240)},
            {"page tabs", main.pages()->tabBar(), main.pages()->tabBar()->rect()},
            {"stats page's monster list", statsList->viewport(), rowsOf(statsList, 0)},
            {"spawn page's monster list", page->monsterList()->viewport(), rowsOf(page->monsterList(), 1)},
            {"dialog title strip", windows.addSpotDialog().findChild<QWidget*>(QStringLiteral("Panel3")),
             textOf(windows.addSpotDialog().findChild<QWidget*>(QStringLiteral("Panel3")), 250)},
            {"preview title", previewCaption, previewCaption->rect()},
        };
        for (const Area& a : areas) {
            ASSERT_NE(a.widget, nullptr) << a.name;
            EXPECT_GE(drawnContrast(a.widget, a.area), 4.5) << a.name;
        }
    }
    QApplication::setPalette(desktop);
}

TEST(DarkDesktop, TheOverviewThePictureButtonsAndDisabledControlsKeepTheirContrast) {
    recorder().clear();
    TempFolder work;
    writeStandardTables(work);
    // A dark desktop's icon theme draws its arrows pale, for dark grounds.
    QImage pale(16, 16, QImage::Format_ARGB32);
    pale.fill(Qt::transparent);
    QPainter arrow(&pale);
    arrow.setPen(QColor(225, 225, 225));
    arrow.drawLine(8, 2, 8, 13);
    arrow.drawLine(4, 9, 8, 13);
    arrow.drawLine(12, 9, 8, 13);
    arrow.end();
    work.write("icons/pale/index.theme", "[Icon Theme]\nName=pale\nDirectories=16x16\n[16x16]\nSize=16\n");
    std::filesystem::create_directories(work.path() / "icons/pale/16x16");
    ASSERT_TRUE(pale.save(QString::fromStdString((work.path() / "icons/pale/16x16/go-down.png").string())));
    const QStringList searchPaths = QIcon::themeSearchPaths();
    const QString themeName = QIcon::themeName();
    QIcon::setThemeSearchPaths({QString::fromStdString((work.path() / "icons").string())});
    QIcon::setThemeName(QStringLiteral("pale"));
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(darkDesktopPalette());
    {
        EditorWindows windows(work.path(), work.path(), loadTables(work.path()));
        MainWindow& main = windows.mainWindow();
        main.pages()->setCurrentWidget(main.spawnPage());
        MapOverviewWindow& overview = windows.mapOverview();
        overview.openOnMap(1);
        AddSpotDialog& dialog = windows.addSpotDialog();
        const auto named = [](const QWidget& window, const char* name) {
            return window.findChild<QWidget*>(QString::fromLatin1(name));
        };
        // Inside the frame, where the text or the picture lies on the control's ground.
        const auto whole = [](QWidget* w) { return w ? w->rect().adjusted(3, 3, -3, -3) : QRect(); };
        const auto textPart = [](QWidget* w, int width) { return w ? QRect(0, 0, std::min(width, w->width()), w->height()) : QRect(); };
        auto* mapField = overview.findChild<SpinField*>(QStringLiteral("OverviewMapNumber"));
        ASSERT_NE(mapField, nullptr);
        QTreeView* sideList = overview.monsterList();
        const QRect sideRows(0, 0, sideList->viewport()->width(), sideList->visualRect(sideList->model()->index(0, 0)).height() * 2);
        struct Area {
            const char* name;
            QWidget* widget;
            QRect area;
            double least;
        };
        const Area areas[] = {
            {"overview title strip", named(overview, "OverviewTitle"), textPart(named(overview, "OverviewTitle"), 200), 4.5},
            {"overview map field", mapField->lineEdit(), mapField->lineEdit()->rect(), 4.5},
            {"overview zoom box", named(overview, "OverviewZoom"), textPart(named(overview, "OverviewZoom"), 30), 4.5},
            {"overview side list", sideList->viewport(), sideRows, 4.5},
            {"overview All button", named(overview, "OverviewTickAll"), whole(named(overview, "OverviewTickAll")), 4.5},
            {"dialog Read X,Y button", named(dialog, "SpeedButton5"), whole(named(dialog, "SpeedButton5")), 3.0},
            {"dialog show map button", named(dialog, "SpeedButton9"), whole(named(dialog, "SpeedButton9")), 3.0},
            {"dialog Read X0,Y0,X1,Y1 button", named(dialog, "SpeedButton3"), whole(named(dialog, "SpeedButton3")), 3.0},
            {"disabled Apply", named(dialog, "ApplyButton"), whole(named(dialog, "ApplyButton")), 3.0},
            {"disabled Delete Spot", named(main, "Button4"), whole(named(main, "Button4")), 3.0},
            {"disabled stats field", named(main, "VHP"), whole(named(main, "VHP")), 3.0},
        };
        for (const Area& a : areas) {
            ASSERT_NE(a.widget, nullptr) << a.name;
            EXPECT_GE(drawnContrast(a.widget, a.area), a.least) << a.name;
        }
        // Disabled, a control draws the same on a dark desktop as on a light one.
        QWidget* deleteSpot = named(main, "Button4");
        ASSERT_FALSE(deleteSpot->isEnabled());
        const QImage onDark = deleteSpot->grab().toImage();
        QApplication::setPalette(desktop);
        EXPECT_EQ(deleteSpot->grab().toImage(), onDark);
    }
    QApplication::setPalette(desktop);
    QIcon::setThemeName(themeName);
    QIcon::setThemeSearchPaths(searchPaths);
    EXPECT_TRUE(recorder().messages.empty());
}

// An unselected radio button shows its ring at least 3:1 against what is around it on
// a dark desktop, in every window: the "Change..." dialog of the monster table included.
TEST(DarkDesktop, UnselectedRadioButtonsStandOut) {
    recorder().clear();
    TempFolder work;
    writeStandardTables(work);
    const QPalette desktop = QApplication::palette();
    QApplication::setPalette(darkDesktopPalette());
    {
        EditorWindows windows(work.path(), work.path(), loadTables(work.path()));
        MonsterGridWindow& grid = windows.monsterGrid();
        grid.open();
        grid.grid()->selectionModel()->select(grid.model()->index(0, 4), QItemSelectionModel::Select);
        grid.openChangeDialog();
        ASSERT_NE(grid.changeDialog(), nullptr);
        const QList<QWidget*> windowsWithRadios{&windows.mainWindow(), &windows.addSpotDialog(), &windows.mapPreview(),
                                                grid.changeDialog()};
        int seen = 0;
        for (QWidget* window : windowsWithRadios) {
            for (QRadioButton* radio : window->findChildren<QRadioButton*>()) {
                if (radio->isChecked() || !radio->isEnabled()) continue;
                QStyleOptionButton option;
                option.initFrom(radio);
                const QRect ring = radio->style()->subElementRect(QStyle::SE_RadioButtonIndicator, &option, radio);
                EXPECT_GE(drawnContrast(radio, ring), 3.0) << window->objectName().toStdString() << ": "
                                                            << radio->text().toStdString();
                ++seen;
            }
        }
        EXPECT_GE(seen, 3);
        // The dialog is drawn as the window that opened it, not in the desktop's dark colours.
        for (const auto role : {QPalette::Window, QPalette::WindowText, QPalette::Base, QPalette::Text})
            EXPECT_EQ(grid.changeDialog()->palette().color(role), grid.palette().color(role)) << role;
        grid.changeDialog()->reject();
    }
    QApplication::setPalette(desktop);
}
