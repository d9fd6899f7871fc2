// A screen reader can name every button that shows only a picture (by what it does)
// and every list and field (by its caption). An accessible name is not a hint: a
// button without a hint still shows none, unless it has a key, which its hint names.

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QHeaderView>

#include "KeyboardFixture.h"

TEST_F(KeyboardTest, PictureButtonsListsAndFieldsHaveAccessibleNames) {
    enum Window { Main, Dialog, Preview, Overview };
    struct Named {
        Window window;
        const char* object;
        const char* accessibleName;
        const char* hint;
    };
    const Named named[] = {
        {Main, "SpeedButton5", "Minimise", "minimise"},
        {Main, "SpeedButton4", "Close program without saving", "Close Program without save"},
        {Main, "BitBtn1", "Switch page keeping the monster", ""},
        {Main, "SpeedButton8", "Save data/monster.txt", "Save data/monster.txt (Ctrl+S)"},
        {Main, "Button1", "Edit selected monster", ">Edit Selected (F2)"},
        {Main, "Button3", "", "OK (Enter)"},
        {Main, "Button2", "", "Cancel (Esc)"},
        {Main, "SpeedButton1", "Save data/Quarnel.txt", "Save data/Quarnel.txt (Ctrl+S)"},
        {Main, "ReviewMonsterSave", "Review the save",
         "Review the save: what it would change, and its problems (Ctrl+Shift+D)"},
        {Main, "ReviewSpawnSave", "Review the save",
         "Review the save: what it would change, and its problems (Ctrl+Shift+D)"},
        {Main, "SpeedButton9", "Show map preview", "Show Map Preview and all spots on this map"},
        {Main, "OverviewButton", "Show map overview", "Map overview: every monster's spots on this map (Ctrl+M)"},
        {Main, "ListView1", "Monsters", ""},
        {Main, "VHP", "HP", ""},
        {Main, "Vatackspeed", "AtackSpeed 2000/", ""},
        {Main, "combomvrag", "MoveRange", ""},
        {Main, "allmonsterlist", "Monsters", ""},
        {Main, "MapList", "MapNumber", ""},
        {Main, "pointlist", "Monster Point spot's", ""},
        {Main, "rangelist", "Monster Range Spot's", ""},
        {Dialog, "SpeedButton1", "Minimise window", "Minimise Window"},
        {Dialog, "SpeedButton4", "Close add location window", "Close Add Location Window (Esc)"},
        {Dialog, "SpeedButton9", "Show map and this location", "Show Map and this location"},
        {Dialog, "SpeedButton3", "Read X0,Y0,X1,Y1 from map window", "Read X0,Y0,X1,Y1 from Map Window"},
        {Dialog, "RadioButton5", "Face Dir -1, centre", ""},
        {Dialog, "RadioButton7", "Face Dir 1, down left", ""},
        {Dialog, "MonsterIDcombo", "Monster ID", ""},
        {Dialog, "SpinEdit2", "Map", ""},
        {Dialog, "SpinEditX", "Center X", ""},
        {Dialog, "spincount", "MonsterCount", ""},
        {Preview, "SpeedButton4", "Close map preview", "Close Map Preview (Esc)"},
        {Preview, "SpeedButton1", "Minimise", "minimise"},
        {Overview, "OverviewMapNumber", "Map", ""},
        {Overview, "OverviewZoom", "Zoom", ""},
        {Overview, "OverviewFilter", "Filter monsters", ""},
        {Overview, "OverviewMonsters", "Monsters on this map", ""},
    };
    QWidget* const windows[] = {main(), dialog(), preview(), overview()};
    for (const auto& n : named) {
        const QWidget* w = windows[n.window]->findChild<QWidget*>(QString::fromLatin1(n.object));
        ASSERT_NE(w, nullptr) << n.object;
        EXPECT_EQ(w->accessibleName().toStdString(), n.accessibleName) << n.object;
        EXPECT_EQ(w->toolTip().toStdString(), n.hint) << n.object;
    }

    // None left out, in any window.
    for (QWidget* window : windows) {
        for (const QWidget* w : window->findChildren<QWidget*>()) {
            if (w->window() != window) continue;            // a drop-down list is a window of its own
            if (qobject_cast<const QHeaderView*>(w)) continue;  // a list's headings belong to the list
            const auto* button = qobject_cast<const QAbstractButton*>(w);
            const bool pictureOnly = button && button->text().trimmed().isEmpty();
            const bool listOrField = qobject_cast<const QAbstractItemView*>(w) ||
                                     qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QComboBox*>(w);
            if (pictureOnly || listOrField) {
                EXPECT_FALSE(w->accessibleName().isEmpty())
                    << nameOf(w).toStdString() << " in " << nameOf(window).toStdString();
            }
        }
    }
}
