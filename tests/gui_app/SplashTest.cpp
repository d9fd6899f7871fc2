#include <filesystem>

#include <QDesktopServices>
#include <QImage>
#include <QLabel>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "ListRows.h"
#include "MessageRecorder.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit3.h"
#include "Unit4.h"
#include "UrlCatcher.h"

namespace {

// Notes every program window being shown, with what existed at that moment.
class ShowLog : public QObject {
public:
    explicit ShowLog(TForm3& splash) : splash_(splash) { qApp->installEventFilter(this); }
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
        if (qobject_cast<TForm1*>(watched)) name = QStringLiteral("TForm1");
        if (qobject_cast<TForm2*>(watched)) name = QStringLiteral("TForm2");
        if (qobject_cast<TForm4*>(watched)) name = QStringLiteral("TForm4");
        if (name.isEmpty()) return false;
        const Forms& forms = splash_.forms();
        entries.push_back({name, forms.form2 != nullptr, forms.form4 != nullptr, splash_.isVisible(),
                           forms.tables ? forms.tables->monsters.monstercount : -1,
                           forms.tables ? forms.tables->spawns.count : -1});
        return false;
    }

private:
    TForm3& splash_;
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
    QLabel* label(TForm3& splash, const char* name) {
        auto* found = splash.findChild<QLabel*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    TempFolder folder;
};

TEST_F(SplashTest, TimerTickBringsUpTheWindowsInOrderOnce) {
    TForm3 splash(folder.path(), folder.path());
    splash.show();
    QTimer* timer = splash.splashTimer();
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->interval(), 5000);
    EXPECT_TRUE(timer->isSingleShot());
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(splash.form1(), nullptr);
    EXPECT_EQ(splash.forms().tables, nullptr);  // nothing is read before the dismissal

    ShowLog log(splash);
    ASSERT_TRUE(QMetaObject::invokeMethod(timer, "timeout"));  // as the tick does

    ASSERT_EQ(log.entries.size(), 1u);  // only the main window is shown
    const auto& shown = log.entries.front();
    EXPECT_EQ(shown.window, QStringLiteral("TForm1"));
    EXPECT_FALSE(shown.dialogExisted);
    EXPECT_FALSE(shown.previewExisted);
    EXPECT_FALSE(shown.splashVisible);
    EXPECT_EQ(shown.monsters, 6);  // both tables are read while the window is created
    EXPECT_EQ(shown.spawns, 4);

    EXPECT_FALSE(splash.isVisible());
    ASSERT_NE(splash.form1(), nullptr);
    ASSERT_NE(splash.form2(), nullptr);
    ASSERT_NE(splash.form4(), nullptr);
    EXPECT_TRUE(splash.form1()->isVisible());
    EXPECT_FALSE(splash.form2()->isVisible());
    EXPECT_FALSE(splash.form4()->isVisible());
    EXPECT_EQ(splash.forms().form2, splash.form2());
    EXPECT_EQ(splash.forms().form4, splash.form4());
    EXPECT_EQ(splash.forms().tables, &splash.form1()->tables());
    EXPECT_EQ(splash.splashTimer(), nullptr);
    EXPECT_TRUE(label(splash, "Image1")->pixmap().isNull());

    // The first showing filled both pages on the "Monster Stats" page, preview untouched.
    TForm1& main = *splash.form1();
    EXPECT_EQ(main.pageControl()->currentWidget(), main.statsPage());
    EXPECT_EQ(main.size(), QSize(610, 510));
    EXPECT_EQ(main.statsPage()->selectedIndex(), 0);
    EXPECT_EQ(rowCount(main.spawnPage()->allmonsterlist()), 6);
    EXPECT_EQ(main.spawnPage()->selectedMonsterIndex(), 0);
    EXPECT_FALSE(splash.form4()->title().contains(QStringLiteral("Ash Hound")));
    main.spawnPage()->MapListChange();  // a later map change does load the picture
    EXPECT_TRUE(splash.form4()->title().contains(QStringLiteral("Ash Hound")));

    // Once only: neither another call nor a click brings up a second set of windows.
    TForm1* first = splash.form1();
    splash.SplashTimerTimer();
    QTest::mouseClick(label(splash, "Image1"), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_EQ(splash.form1(), first);
    EXPECT_EQ(log.entries.size(), 1u);
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(SplashTest, ClickOnTheArtworkDismissesAtOnceOtherLabelsDoNothing) {
    TForm3 splash(folder.path(), folder.path());
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
    ASSERT_NE(splash.form1(), nullptr);
    EXPECT_TRUE(splash.form1()->isVisible());
}

TEST_F(SplashTest, LinkOpensTheWebAddressAndKeepsTheSplash) {
    UrlCatcher browser;
    QDesktopServices::setUrlHandler(QStringLiteral("https"), &browser, "open");
    TForm3 splash(folder.path(), folder.path());
    splash.show();
    QLabel* link = label(splash, "Label9");
    EXPECT_EQ(link->text(), QUrl(TForm3::webAddress()).host());
    EXPECT_TRUE(link->font().bold());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseClick(link, Qt::LeftButton);
    QTest::mouseClick(link, Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
    ASSERT_EQ(browser.opened.size(), 2);
    EXPECT_EQ(browser.opened.front(), QUrl(TForm3::webAddress()));
    EXPECT_TRUE(splash.isVisible());
    EXPECT_FALSE(splash.dismissed());
    EXPECT_TRUE(splash.splashTimer()->isActive());
}

TEST_F(SplashTest, SplashDesign) {
    TForm3 splash(folder.path(), folder.path());
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
