// The dialog as a window: frame, place, title strip, folding, closing, the map
// field and the show-map button.

#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

#include <algorithm>

#include <QTabBar>

#include "DialogFixture.h"

TEST_F(DialogTest, IsAFramelessToolWindowOnTop) {
    const Qt::WindowFlags flags = dialog->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(dialog->isVisible());
    windows->mainWindow().move(700, 300);  // out of the design place's way
    showDialog();
    EXPECT_EQ(dialog->pos(), QPoint(337, 111));
    EXPECT_EQ(dialog->size(), QSize(305, 340));
    EXPECT_EQ(labelText("Panel3"), QStringLiteral("             Add Monster Location"));
}

// Where its design place would cover the main window's save, delete or title buttons, it
// first opens where it covers none; where it is moved afterwards, it stays.
TEST_F(DialogTest, FirstOpensWhereItCoversNoneOfTheMainWindowsButtons) {
    MainWindow& main = windows->mainWindow();
    main.pages()->setCurrentWidget(page);
    main.move(250, 100);
    const QList<QRect> keepClear = main.placesToKeepClear();
    ASSERT_TRUE(std::any_of(keepClear.begin(), keepClear.end(),
                            [](const QRect& r) { return r.intersects(QRect(337, 111, 305, 340)); }));
    showDialog();
    const QRect shown(dialog->pos(), dialog->size());
    for (const QRect& button : keepClear) EXPECT_FALSE(shown.intersects(button)) << button.x() << "," << button.y();
    dialog->closeDialog();
    dialog->move(400, 150);
    showDialog();
    EXPECT_EQ(dialog->pos(), QPoint(400, 150));
}

// The preview first shown from the dialog opens clear of it, the place it shows being
// composed there, and of the main window's buttons.
TEST_F(DialogTest, ThePreviewFirstOpensClearOfTheDialogAndTheButtons) {
    MainWindow& main = windows->mainWindow();
    main.pages()->setCurrentWidget(page);
    showDialog();
    dialog->findChild<QAbstractButton*>(QStringLiteral("SpeedButton9"))->click();
    ASSERT_TRUE(preview->isVisible());
    const QRect shown(preview->pos(), preview->size());
    EXPECT_TRUE(preview->screen()->availableGeometry().contains(shown));
    EXPECT_FALSE(shown.intersects(QRect(dialog->pos(), dialog->size())));
    for (const QRect& button : main.placesToKeepClear()) EXPECT_FALSE(shown.intersects(button));
}

// Shown again by the program where it was, the preview comes back clear of the main
// window's buttons and page tabs, which may have come under that place meanwhile; where
// nothing is in the way it stays where it was.
TEST_F(DialogTest, ThePreviewComesBackClearOfTheTabsAndButtons) {
    MainWindow& main = windows->mainWindow();
    main.pages()->setCurrentWidget(page);
    main.move(300, 250);
    page->showPreview();
    ASSERT_TRUE(preview->isVisible());
    const auto tabOf = [&main](int tab) {
        const QRect rect = main.pages()->tabBar()->tabRect(tab);
        return QRect(main.pages()->tabBar()->mapToGlobal(rect.topLeft()), rect.size());
    };
    struct Case {
        const char* name;
        QPoint at;  // where the preview was when hidden
        bool stays;
    };
    const Case cases[] = {
        {"over the \"Monster Stats\" tab", tabOf(0).topLeft() - QPoint(20, 20), false},
        {"over the \"Monster Position\" tab", tabOf(1).topLeft() - QPoint(10, 10), false},
        {"left of the main window", QPoint(0, 300), true},
    };
    for (const Case& c : cases) {
        preview->hide();
        preview->move(c.at);
        page->showPreview();
        ASSERT_TRUE(preview->isVisible()) << c.name;
        const QRect shown = preview->frameGeometry();
        EXPECT_EQ(shown.topLeft() == c.at, c.stays) << c.name;
        EXPECT_TRUE(preview->screen()->availableGeometry().contains(shown)) << c.name;
        for (const QRect& clear : main.placesToKeepClear()) EXPECT_FALSE(shown.intersects(clear)) << c.name;
    }
}

TEST_F(DialogTest, ControlsStandWhereTheDesignPutsThem) {
    const struct {
        const char* name;
        QRect geometry;  // within its parent
    } cases[] = {
        {"Panel3", {0, 0, 305, 30}},          {"Panel2", {0, 30, 305, 310}},
        {"RadioGroup1", {9, 56, 192, 96}},    {"GroupBox1", {217, 56, 79, 95}},
        {"PageControl1", {6, 157, 225, 109}}, {"Button1", {223, 277, 75, 25}},
    };
    for (const auto& c : cases) {
        auto* control = dialog->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.geometry) << c.name;
    }
    const auto* combo = dialog->monsterCombo();
    EXPECT_EQ(combo->objectName(), QStringLiteral("MonsterIDcombo"));
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(combo->maxVisibleItems(), 10);
}

TEST_F(DialogTest, FieldsStartWithTheirBoundsAndValues) {
    const struct {
        const char* name;
        int min, max, value;
    } cases[] = {
        {"SpinEdit2", 0, 250, 0},   {"SpinEdit1", 0, 255, 5},   {"SpinEditX", 2, 250, 127},
        {"SpinEditY", 2, 250, 127}, {"SpinX0", 2, 250, 127},    {"SpinY0", 2, 250, 127},
        {"SpinX1", 2, 250, 128},    {"SpinY1", 2, 250, 128},    {"spincount", 1, 255, 5},
    };
    for (const auto& c : cases) {
        SpinField* f = field(c.name);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(f->minValue(), c.min) << c.name;
        EXPECT_EQ(f->maxValue(), c.max) << c.name;
        EXPECT_EQ(f->value(), c.value) << c.name;
    }
    EXPECT_EQ(dialog->spotType(), 0);
    EXPECT_EQ(pageIndex(), 0);
    EXPECT_EQ(dialog->currentMonster(), MonsterDataRecord{});
    EXPECT_EQ(dialog->faceDirection(), -1);
    EXPECT_EQ(labelText("MonsterNameLabel"), QStringLiteral("NAME"));
    EXPECT_EQ(labelText("monsterlvllabel"), QStringLiteral("LVL"));
    auto* spotTypes = dialog->findChild<QGroupBox*>(QStringLiteral("RadioGroup1"));
    QStringList items;
    for (const QRadioButton* item : spotTypes->findChildren<QRadioButton*>()) items << item->text().trimmed();
    EXPECT_EQ(items, QStringList({"Npc (point Spot)", "Monsters (Range Spot)", "Monsters (Point Spot)",
                                  "Dragoin Invasion (Range Spot)", "Blood Castle"}));
}

TEST_F(DialogTest, MinimiseFoldsToTheTitleStripAndBack) {
    showDialog();
    auto* minimise = dialog->findChild<QAbstractButton*>(QStringLiteral("SpeedButton1"));
    auto* body = dialog->findChild<QWidget*>(QStringLiteral("Panel2"));
    ASSERT_NE(minimise, nullptr);
    EXPECT_EQ(minimise->toolTip(), QStringLiteral("Minimise Window"));
    minimise->click();
    EXPECT_FALSE(body->isVisible());
    EXPECT_EQ(dialog->height(), 30);
    minimise->click();
    EXPECT_TRUE(body->isVisible());
    EXPECT_EQ(dialog->height(), 340);
    minimise->click();
    dialog->unfold();
    EXPECT_TRUE(body->isVisible());
    EXPECT_EQ(dialog->height(), 340);
}

TEST_F(DialogTest, CloseHidesAndKeepsEverything) {
    showDialog();
    chooseMonster(0);
    field("SpinEdit1")->setValue(42);
    auto* close = dialog->findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->toolTip(), QStringLiteral("Close Add Location Window (Esc)"));
    close->click();
    EXPECT_FALSE(dialog->isVisible());
    showDialog();
    EXPECT_EQ(field("SpinEdit1")->value(), 42);
    EXPECT_EQ(dialog->spotType(), 1);
    EXPECT_EQ(pageIndex(), 1);
}

TEST_F(DialogTest, MapFieldLoadsThePictureOnlyOnceThePreviewIsReady) {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    std::filesystem::create_directories(folder.path() / "VarnexMaps");
    ASSERT_TRUE(picture.save(QString::fromStdString((folder.path() / "VarnexMaps" / "7.jpg").string()), "JPG"));
    chooseMonster(1);
    MapPreviewWindow notReady(800);  // no map chosen on the spawn page yet
    notReady.setTitle(QStringLiteral("before"));
    notReady.setPictureVisible(false);
    dialog->setPreview(&notReady);
    field("SpinEdit2")->setValue(7);
    EXPECT_EQ(notReady.title(), QStringLiteral("before"));
    EXPECT_FALSE(notReady.pictureVisible());

    dialog->setPreview(preview);
    ASSERT_TRUE(preview->previewReady());
    field("SpinEdit2")->setValue(6);  // no picture: the "no map" background, under this map's title
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_EQ(preview->title(), QStringLiteral("Map  Preview  ( Statue, 6 )  "));
    field("SpinEdit2")->setValue(7);
    EXPECT_TRUE(preview->pictureVisible());
    EXPECT_EQ(preview->title(), QStringLiteral("Map  Preview  ( Statue, 7 )  "));
    EXPECT_FALSE(preview->isVisible()) << "loading does not show the preview";
    field("SpinEdit2")->setValue(8);
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_EQ(preview->title(), QStringLiteral("Map  Preview  ( Statue, 8 )  "));
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(DialogTest, ShowMapShowsThePreviewInSelectionMode) {
    const struct {
        bool rangePage;
        const char* button;
    } cases[] = {{false, "SpeedButton9"}, {true, "SpeedButton2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        c.rangePage ? dialog->showRangePage() : dialog->showPointPage();
        preview->hide();
        preview->showSpots();
        auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(c.button));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), QStringLiteral("Show Map and this location"));
        button->click();
        EXPECT_TRUE(preview->isVisible());
        EXPECT_TRUE(preview->selection().showselection);
        EXPECT_EQ(preview->selection().pointselection, !c.rangePage);
    }
}

namespace {

const QLabel* labelWithText(const QWidget* parent, const QString& text) {
    for (const QLabel* label : parent->findChildren<QLabel*>())
        if (label->text() == text) return label;
    return nullptr;
}

}  // namespace

TEST_F(DialogTest, CaptionsStandOnTheirRows) {
    const auto* body = dialog->findChild<QWidget*>(QStringLiteral("Panel2"));
    ASSERT_NE(body, nullptr);
    const struct {
        const char* text;
        int x, y;
    } cases[] = {
        {"Monster ID:", 8, 8},   {"Map:", 195, 8},      {"Monster Name:", 8, 38},
        {"Monster lvl      :", -1, 38}, {"NAME", -1, 38}, {"LVL", -1, 38},
        {"Distance", 243, 171},
    };
    for (const auto& c : cases) {
        const QLabel* label = labelWithText(dialog, QString::fromLatin1(c.text));
        ASSERT_NE(label, nullptr) << c.text;
        EXPECT_EQ(label->parentWidget(), body) << c.text;
        if (c.x >= 0) {
            EXPECT_EQ(label->x(), c.x) << c.text;
        }
        EXPECT_EQ(label->y(), c.y) << c.text;
    }
    // The map field ends at 299 and the distance field at 209; the monster list is 105 wide.
    const QRect map = field("SpinEdit2")->geometry();
    EXPECT_EQ(map.x() + map.width(), 299);
    EXPECT_GT(map.x(), labelWithText(dialog, QStringLiteral("Map:"))->geometry().right());
    const QRect distance = field("SpinEdit1")->geometry();
    EXPECT_EQ(distance.x(), 243);
    EXPECT_EQ(distance.y() + distance.height(), 209);
    EXPECT_EQ(dialog->monsterCombo()->geometry().topLeft().y(), 8);
    EXPECT_EQ(dialog->monsterCombo()->width(), 105);
}

TEST_F(DialogTest, CaptionsHintsAndColours) {
    const auto* spotTypes = dialog->findChild<QGroupBox*>(QStringLiteral("RadioGroup1"));
    const auto* faceDir = dialog->findChild<QGroupBox*>(QStringLiteral("GroupBox1"));
    ASSERT_TRUE(spotTypes && faceDir);
    EXPECT_EQ(spotTypes->title(), QStringLiteral("Spot Type (respawn type)"));
    EXPECT_EQ(faceDir->title(), QStringLiteral(" Face Dir  "));
    for (const QRadioButton* item : spotTypes->findChildren<QRadioButton*>())
        EXPECT_TRUE(item->text().endsWith(QLatin1Char(' '))) << item->text().toStdString();

    auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("PageControl1"));
    ASSERT_NE(pages, nullptr);
    ASSERT_EQ(pages->count(), 2);
    EXPECT_EQ(pages->tabText(0), QStringLiteral("Point Spot"));
    EXPECT_EQ(pages->tabText(1), QStringLiteral("Range Spot"));
    EXPECT_EQ(pages->widget(0)->objectName(), QStringLiteral("TabSheet1"));
    EXPECT_EQ(pages->widget(1)->objectName(), QStringLiteral("TabSheet2"));

    const struct {
        const char* button;
        const char* page;
        const char* hint;
    } hints[] = {
        {"SpeedButton9", "TabSheet1", "Show Map and this location"},
        {"SpeedButton5", "TabSheet1", "Read X,Y from Map Window"},
        {"SpeedButton2", "TabSheet2", "Show Map and this location"},
        {"SpeedButton3", "TabSheet2", "Read X0,Y0,X1,Y1 from Map Window"},
    };
    for (const auto& h : hints) {
        const auto* button = dialog->findChild<QAbstractButton*>(QString::fromLatin1(h.button));
        ASSERT_NE(button, nullptr) << h.button;
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(h.hint)) << h.button;
        EXPECT_EQ(button->parentWidget()->objectName(), QString::fromLatin1(h.page)) << h.button;
    }
    const auto* create = dialog->findChild<QAbstractButton*>(QStringLiteral("Button1"));
    ASSERT_NE(create, nullptr);
    EXPECT_EQ(create->text(), QStringLiteral("Create"));

    const auto* strip = dialog->findChild<QLabel*>(QStringLiteral("Panel3"));
    ASSERT_NE(strip, nullptr);
    EXPECT_TRUE(strip->font().bold());
    EXPECT_EQ(strip->font().pixelSize(), 13);
    EXPECT_EQ(strip->palette().color(QPalette::Window), QColor(195, 195, 201));
    EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(227, 220, 213));
    EXPECT_EQ(dialog->monsterCombo()->palette().color(QPalette::Base), QColor(195, 195, 201));
    EXPECT_EQ(field("SpinEditX")->palette().color(QPalette::Base), QColor(195, 195, 201));
    for (const char* name : {"MonsterNameLabel", "monsterlvllabel"}) {
        const auto* label = dialog->findChild<QLabel*>(QString::fromLatin1(name));
        ASSERT_NE(label, nullptr) << name;
        EXPECT_TRUE(label->font().bold()) << name;
    }
    EXPECT_EQ(labelText("monsterlvllabel"), QStringLiteral("LVL"));
}

TEST_F(DialogTest, TitleStripMovesTheDialogWithAnyButton) {
    showDialog();
    auto* strip = dialog->findChild<QLabel*>(QStringLiteral("Panel3"));
    ASSERT_NE(strip, nullptr);
    for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        const QPoint start = dialog->pos();
        QTest::mousePress(strip, button, {}, QPoint(100, 10));
        QTest::mouseMove(strip, QPoint(140, 25));
        QTest::mouseRelease(strip, button, {}, QPoint(140, 25));
        EXPECT_EQ(dialog->pos(), start + QPoint(40, 15)) << button;
    }
    // A press on the strip's buttons does not move it.
    auto* close = dialog->findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"));
    const QPoint before = dialog->pos();
    QTest::mousePress(close, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(close, QPoint(25, 15));
    QTest::mouseRelease(close, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_EQ(dialog->pos(), before);
}

TEST_F(DialogTest, OpenedFromThePageUnfoldsAndKeepsItsListWhileOpen) {
    page->openAddSpotDialog();
    ASSERT_TRUE(dialog->isVisible());
    dialog->toggleFolded();  // folded to the title strip
    auto* body = dialog->findChild<QWidget*>(QStringLiteral("Panel2"));
    ASSERT_FALSE(body->isVisible());
    dialog->monsterCombo()->removeItem(2);  // a list the page must not refill while open
    preview->showSpots();

    page->openAddSpotDialog();
    EXPECT_TRUE(body->isVisible());
    EXPECT_EQ(dialog->height(), 340);
    EXPECT_TRUE(preview->selection().showselection) << "unfolding shows the page again";
    EXPECT_EQ(dialog->monsterCombo()->count(), 2);

    dialog->closeDialog();
    page->openAddSpotDialog();
    EXPECT_EQ(dialog->monsterCombo()->count(), 3) << "refilled when opened while hidden";
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(DialogTest, UnreadableMapPictureIsReportedAndShowsNoPictureUnderTheNewTitle) {
    std::filesystem::create_directories(folder.path() / "VarnexMaps");
    folder.write("VarnexMaps/7.jpg", "not a picture");
    chooseMonster(1);
    preview->setTitle(QStringLiteral("before"));
    field("SpinEdit2")->setValue(7);
    EXPECT_EQ(recorder().errors().size(), 1);
    EXPECT_TRUE(preview->title().endsWith(QStringLiteral(", 7 )  "))) << preview->title().toStdString();
    EXPECT_FALSE(preview->pictureVisible());
    EXPECT_FALSE(preview->isVisible());
}

// The monster list opens ten rows tall, however many monsters there are.
TEST_F(DialogTest, MonsterListOpensTenRowsTall) {
    QComboBox* combo = dialog->monsterCombo();
    combo->clear();
    for (int i = 0; i < 96; ++i) combo->addItem(QString::number(i));
    showDialog();
    combo->showPopup();
    QWidget* popup = combo->view()->window();
    ASSERT_TRUE(popup->isVisible());
    const int rowHeight = combo->view()->sizeHintForRow(0);
    EXPECT_LE(combo->view()->viewport()->height(), 10 * rowHeight);
    EXPECT_GE(combo->view()->viewport()->height(), 8 * rowHeight);
    combo->hidePopup();
}
