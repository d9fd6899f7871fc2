#include <algorithm>
#include <filesystem>
#include <type_traits>

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "EditorDocument.h"
#include "ListRows.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "SplashWindow.h"
#include "MapPreviewWindow.h"
#include "UrlCatcher.h"

namespace {

// Notes every program window being shown, with what existed at that moment.
class ShowLog : public QObject {
public:
    explicit ShowLog(SplashWindow& splash) : splash_(splash) { qApp->installEventFilter(this); }
    ~ShowLog() override { qApp->removeEventFilter(this); }

    struct Entry {
        QString window;
        bool dialogExisted;
        bool previewExisted;
        bool splashVisible;
        int monsters;
        int spawns;
    };
    std::vector<Entry> entries;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::Show) return false;
        QString name;
        if (qobject_cast<MainWindow*>(watched)) name = QStringLiteral("MainWindow");
        if (qobject_cast<AddSpotDialog*>(watched)) name = QStringLiteral("AddSpotDialog");
        if (qobject_cast<MapPreviewWindow*>(watched)) name = QStringLiteral("MapPreviewWindow");
        if (name.isEmpty()) return false;
        const auto exists = [](auto* kind) {
            const QList<QWidget*> windows = QApplication::topLevelWidgets();
            return std::any_of(windows.begin(), windows.end(), [](QWidget* w) {
                return qobject_cast<std::remove_pointer_t<decltype(kind)>*>(w) != nullptr;
            });
        };
        const auto* main = qobject_cast<MainWindow*>(watched);
        entries.push_back({name, exists(static_cast<AddSpotDialog*>(nullptr)),
                           exists(static_cast<MapPreviewWindow*>(nullptr)), splash_.isVisible(),
                           main ? main->document().monsters().monstercount : -1,
                           main ? main->document().spawns().count : -1});
        return false;
    }

private:
    SplashWindow& splash_;
};

class SplashTest : public ::testing::Test {
protected:
    void SetUp() override {
        recorder().clear();
        writeStandardTables(folder);
        // A picture for map 1, the first monster's first map.
        QImage map(64, 64, QImage::Format_RGB32);
        map.fill(Qt::darkGreen);
        std::filesystem::create_directories(folder.path() / "VarnexMaps");
        ASSERT_TRUE(map.save(QString::fromStdString((folder.path() / "VarnexMaps" / "1.jpg").string()), "JPG"));
    }
    QLabel* label(SplashWindow& splash, const char* name) {
        auto* found = splash.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    TempFolder folder;
};

TEST_F(SplashTest, TimerTickBringsUpTheWindowsInOrderOnce) {
    SplashWindow splash(folder.path(), folder.path());
    splash.show();
    QTimer* timer = splash.splashTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 5000);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(splash.mainWindow(), nullptr);
    EXPECT_EQ(splash.windows(), nullptr);  // nothing is read before the dismissal

    ShowLog log(splash);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));  // as the tick does

    ASSERT_EQ(log.entries.size(), 1u);  // only the main window is shown
    const auto& shown = log.entries.front();
    EXPECT_EQ(shown.window, QStringLiteral("MainWindow"));
    EXPECT_FALSE(shown.dialogExisted);
    EXPECT_FALSE(shown.previewExisted);
    EXPECT_FALSE(shown.splashVisible);
    EXPECT_EQ(shown.monsters, 6);  // both tables are read while the window is created
    EXPECT_EQ(shown.spawns, 4);

    EXPECT_FALSE(splash.isVisible());
    ASSERT_NE(splash.mainWindow(), nullptr);
    ASSERT_NE(splash.addSpotDialog(), nullptr);
    ASSERT_NE(splash.mapPreview(), nullptr);
    EXPECT_TRUE(splash.mainWindow()->isVisible());
    EXPECT_FALSE(splash.addSpotDialog()->isVisible());
    EXPECT_FALSE(splash.mapPreview()->isVisible());
    EXPECT_EQ(splash.splashTimer(), nullptr);
    EXPECT_TRUE(label(splash, "Image1")->pixmap().isNull());

    // The first showing filled both pages on the "Monster Stats" page, preview untouched.
    MainWindow& main = *splash.mainWindow();
    EXPECT_EQ(main.pages()->currentWidget(), main.statsPage());
    EXPECT_EQ(main.size(), QSize(610, 510));
    EXPECT_EQ(main.statsPage()->selectedIndex(), 0);
    EXPECT_EQ(rowCount(main.spawnPage()->monsterList()), 6);
    EXPECT_EQ(main.spawnPage()->selectedMonsterIndex(), 0);
    EXPECT_FALSE(splash.mapPreview()->title().contains(QStringLiteral("Ash Hound")));
    main.spawnPage()->showSelectedMap();  // a later map change does load the picture
    EXPECT_TRUE(splash.mapPreview()->title().contains(QStringLiteral("Ash Hound")));

    // Once only: neither another call nor a click brings up a second set of windows.
    MainWindow* first = splash.mainWindow();
    splash.dismiss();
    QTest::mouseClick(label(splash, "Image1"), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(splash.mainWindow(), first);
    EXPECT_EQ(log.entries.size(), 1u);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(SplashTest, ClickOnTheArtworkDismissesAtOnceOtherLabelsDoNothing) {
    SplashWindow splash(folder.path(), folder.path());
    splash.show();
    for (const char* name : {"Label1", "Label7", "Label8"}) {
        QTest::mouseClick(label(splash, name), Qt::LeftButton);
        EXPECT_FALSE(splash.dismissed()) << name;
        ASSERT_NE(splash.splashTimer(), nullptr) << name;
        EXPECT_TRUE(splash.splashTimer()->isActive()) << name;
    }
    QTest::mouseClick(label(splash, "Image1"), Qt::LeftButton, {}, QPoint(240, 150));
    EXPECT_TRUE(splash.dismissed());
    EXPECT_FALSE(splash.isVisible());
    EXPECT_EQ(splash.splashTimer(), nullptr);
    ASSERT_NE(splash.mainWindow(), nullptr);
    EXPECT_TRUE(splash.mainWindow()->isVisible());
}

TEST_F(SplashTest, LinkOpensTheWebAddressAndKeepsTheSplash) {
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    SplashWindow splash(folder.path(), folder.path());
    splash.show();
    QLabel* link = label(splash, "Label9");
    EXPECT_EQ(link->text(), QUrl(SplashWindow::webAddress()).host());
    EXPECT_TRUE(link->font().bold());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened.front(), QUrl(SplashWindow::webAddress()));
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(splash.dismissed());
    EXPECT_TRUE(splash.splashTimer()->isActive());
}

TEST_F(SplashTest, SplashDesign) {
    SplashWindow splash(folder.path(), folder.path());
    EXPECT_EQ(splash.size(), QSize(479, 349));
    EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
    QLabel* image = label(splash, "Image1");
    EXPECT_EQ(image->geometry(), QRect(0, 0, 479, 316));
    EXPECT_EQ(image->pixmap().size(), QSize(479, 316));
    struct Expect {
        const char* name;
        QPoint at;
        const char* text;
    };
    const Expect labels[] = {
        {"Label1", {1, 319}, "Monster Stats&Quarnel Editor Created by Dunmarrow Developer Group"},
        {"Label7", {0, 336}, "Build date 1.05.2005"},
        {"Label8", {313, 336}, "for latest version visit"},
    };
    for (const auto& e : labels) {
        EXPECT_EQ(label(splash, e.name)->pos(), e.at) << e.name;
        EXPECT_EQ(label(splash, e.name)->text(), QString::fromLatin1(e.text)) << e.name;
    }
    EXPECT_EQ(label(splash, "Label9")->pos(), QPoint(417, 336));
    EXPECT_LE(label(splash, "Label9")->geometry().right(), 478);  // the address fits the window
}

}  // namespace
