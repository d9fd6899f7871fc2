// Under a dark desktop palette the windows keep the design's light surfaces, so their
// text must keep the design's dark colours: the title strips, the page tabs and the lists
// read at least 4.5:1 (the contrast WCAG asks of text), as drawn.

#include <algorithm>
#include <cmath>
#include <map>

#include <QApplication>
#include <QLabel>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeView>
#include <gtest/gtest.h>

#include "AddSpotDialog.h"
#include "AppFixture.h"
#include "EditorWindows.h"
#include "MainWindow.h"
#include "MapPreviewWindow.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
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
