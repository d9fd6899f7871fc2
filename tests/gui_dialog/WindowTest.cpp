// The dialog as a window: frame, place, title strip, folding, closing, the map
// field and the show-map button.

#include <QAbstractButton>
#include <QGroupBox>
#include <QImage>
#include <QRadioButton>

#include "DialogFixture.h"

TEST_F(DialogTest, IsAFramelessToolWindowOnTop) {
    const Qt::WindowFlags flags = form2->windowFlags();
    EXPECT_TRUE(flags.testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(flags.testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(flags & Qt::WindowType_Mask, Qt::Tool);
    EXPECT_FALSE(form2->isVisible());
    showDialog();
    EXPECT_EQ(form2->pos(), QPoint(337, 111));
    EXPECT_EQ(form2->size(), QSize(305, 340));
    EXPECT_EQ(labelText("Panel3"), QStringLiteral("             Add Monster Location"));
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
        auto* control = form2->findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.geometry) << c.name;
    }
    const auto* combo = form2->monsterIdCombo();
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
    EXPECT_EQ(form2->spotType(), 0);
    EXPECT_EQ(pageIndex(), 0);
    auto* spotTypes = form2->findChild<QGroupBox*>(QStringLiteral("RadioGroup1"));
    QStringList items;
    for (const QRadioButton* item : spotTypes->findChildren<QRadioButton*>()) items << item->text().trimmed();
    EXPECT_EQ(items, QStringList({"Npc (point Spot)", "Monsters (Range Spot)", "Monsters (Point Spot)",
                                  "Dragoin Invasion (Range Spot)", "Blood Castle"}));
}

TEST_F(DialogTest, MinimiseFoldsToTheTitleStripAndBack) {
    showDialog();
    auto* minimise = form2->findChild<QAbstractButton*>(QStringLiteral("SpeedButton1"));
    auto* body = form2->findChild<QWidget*>(QStringLiteral("Panel2"));
    ASSERT_NE(minimise, nullptr);
    EXPECT_EQ(minimise->toolTip(), QStringLiteral("Minimise Window"));
    minimise->click();
    EXPECT_FALSE(body->isVisible());
    EXPECT_EQ(form2->height(), 30);
    minimise->click();
    EXPECT_TRUE(body->isVisible());
    EXPECT_EQ(form2->height(), 340);
    minimise->click();
    form2->showBody();
    EXPECT_TRUE(body->isVisible());
    EXPECT_EQ(form2->height(), 340);
}

TEST_F(DialogTest, CloseHidesAndKeepsEverything) {
    showDialog();
    chooseMonster(0);
    field("SpinEdit1")->setValue(42);
    auto* close = form2->findChild<QAbstractButton*>(QStringLiteral("SpeedButton4"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->toolTip(), QStringLiteral("Close Add Location Window"));
    close->click();
    EXPECT_FALSE(form2->isVisible());
    showDialog();
    EXPECT_EQ(field("SpinEdit1")->value(), 42);
    EXPECT_EQ(form2->spotType(), 1);
    EXPECT_EQ(pageIndex(), 1);
}

TEST_F(DialogTest, MapFieldLoadsThePictureOnlyOnceThePreviewIsReady) {
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    std::filesystem::create_directories(folder.path() / "VarnexMaps");
    ASSERT_TRUE(picture.save(QString::fromStdString((folder.path() / "VarnexMaps" / "7.jpg").string()), "JPG"));
    chooseMonster(1);
    form4->setTitle(QStringLiteral("before"));
    form4->setPictureVisible(false);

    forms.previewReady = false;
    field("SpinEdit2")->setValue(7);
    EXPECT_EQ(form4->title(), QStringLiteral("before"));
    EXPECT_FALSE(form4->pictureVisible());

    forms.previewReady = true;
    field("SpinEdit2")->setValue(6);  // no picture
    EXPECT_FALSE(form4->pictureVisible());
    EXPECT_EQ(form4->title(), QStringLiteral("before"));
    field("SpinEdit2")->setValue(7);
    EXPECT_TRUE(form4->pictureVisible());
    EXPECT_EQ(form4->title(), QStringLiteral("Map  Preview  ( Statue, 7 )  "));
    EXPECT_FALSE(form4->isVisible()) << "loading does not show the preview";
    field("SpinEdit2")->setValue(8);
    EXPECT_FALSE(form4->pictureVisible());
    EXPECT_TRUE(recorder().messages.empty());
}

TEST_F(DialogTest, ShowMapShowsThePreviewInSelectionMode) {
    const struct {
        bool rangePage;
        const char* button;
    } cases[] = {{false, "SpeedButton9"}, {true, "SpeedButton2"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.button);
        c.rangePage ? form2->showRangePage() : form2->showPointPage();
        form4->hide();
        form4->showselection = false;
        auto* button = form2->findChild<QAbstractButton*>(QString::fromLatin1(c.button));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip(), QStringLiteral("Show Map and this location"));
        button->click();
        EXPECT_TRUE(form4->isVisible());
        EXPECT_TRUE(form4->showselection);
        EXPECT_EQ(form4->pointselection, !c.rangePage);
    }
}
