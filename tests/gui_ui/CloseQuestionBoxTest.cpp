// The close question keeps Save, Discard and Cancel in this order on every desktop (a
// message box would follow the desktop's order: a GTK desktop puts Cancel first), with
// Save the default and Escape for Cancel. Run a second time under the GTK platform
// theme on a virtual X server (close_box_under_gtk.sh).

#include <functional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QStyle>
#include <QTest>
#include <gtest/gtest.h>

#include "CloseQuestion.h"

namespace {

TEST(CloseQuestionBox, ButtonsInOneOrderAndTheirKeys) {
    // Under the GTK theme the desktop's own order is GNOME's: it is that theme in force.
    if (qEnvironmentVariable("VARNEX_EXPECT_BUTTON_LAYOUT") == QStringLiteral("gnome")) {
        ASSERT_EQ(QApplication::style()->styleHint(QStyle::SH_DialogButtonLayout), QDialogButtonBox::GnomeLayout);
    }
    struct Case {
        const char* name;
        std::function<void(CloseQuestionBox&)> act;
        CloseAnswer answer;
        QDialog::DialogCode result;
    };
    const auto key = [](Qt::Key k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        return [k, m](CloseQuestionBox&) { QTest::keyClick(QApplication::focusWidget(), k, m); };
    };
    using enum CloseAnswer;
    const Case cases[] = {
        {"Enter", key(Qt::Key_Return), Save, QDialog::Accepted},
        {"Enter on the keypad", key(Qt::Key_Enter, Qt::KeypadModifier), Save, QDialog::Accepted},
        {"Escape", key(Qt::Key_Escape), Cancel, QDialog::Rejected},
        {"Tab, then Enter", [](CloseQuestionBox&) {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         }, Discard, QDialog::Accepted},
        {"a click on Cancel", [](CloseQuestionBox& box) { QTest::mouseClick(box.button(Cancel), Qt::LeftButton); },
         Cancel, QDialog::Rejected},
        {"the window closed", [](CloseQuestionBox& box) { box.close(); }, Cancel, QDialog::Rejected},
        {"a click on Review...", [](CloseQuestionBox& box) { QTest::mouseClick(box.button(Review), Qt::LeftButton); },
         Review, QDialog::Accepted},
        {"Shift+Tab, then Enter", [](CloseQuestionBox&) {
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
             QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
         }, Review, QDialog::Accepted},
    };
    for (const auto& c : cases) {
        CloseQuestionBox box(QStringLiteral("Unsaved changes: monster.txt (1 change).\nSave them before closing?"));
        box.show();
        box.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&box)) << c.name;
        QPushButton* save = box.button(Save);
        QPushButton* discard = box.button(Discard);
        QPushButton* cancel = box.button(Cancel);
        EXPECT_EQ(QApplication::focusWidget(), save) << c.name;
        EXPECT_TRUE(save->isDefault()) << c.name;
        EXPECT_EQ(save->y(), cancel->y()) << c.name;
        EXPECT_EQ(discard->y(), cancel->y()) << c.name;
        EXPECT_LT(save->x(), discard->x()) << c.name;
        EXPECT_LT(discard->x(), cancel->x()) << c.name;
        EXPECT_EQ(box.button(Review)->y(), cancel->y()) << c.name;
        EXPECT_LT(box.button(Review)->x(), save->x()) << c.name;
        c.act(box);
        EXPECT_FALSE(box.isVisible()) << c.name;
        EXPECT_EQ(box.answer(), c.answer) << c.name;
        EXPECT_EQ(box.result(), c.result) << c.name;
    }
}

// The question about typed values is the same box with its own words: Store, Discard,
// Cancel, each saying what it does, and no Review... (nothing is being saved).
TEST(CloseQuestionBox, EachQuestionHasItsOwnWords) {
    struct Case {
        const char* name;
        CloseQuestionBox::Wording wording;
        const char* first;
        bool review;
    };
    const Case cases[] = {
        {"before closing", CloseQuestionBox::closeWording(), "&Save", true},
        {"about typed values", CloseQuestionBox::typedValuesWording(), "&Store", false},
    };
    for (const Case& c : cases) {
        CloseQuestionBox box(QStringLiteral("text"), c.wording);
        EXPECT_EQ(box.button(CloseAnswer::Save)->text(), QString::fromLatin1(c.first)) << c.name;
        EXPECT_EQ(box.button(CloseAnswer::Discard)->text(), QStringLiteral("&Discard")) << c.name;
        EXPECT_EQ(box.button(CloseAnswer::Cancel)->text(), QStringLiteral("Cancel")) << c.name;
        EXPECT_EQ(box.button(CloseAnswer::Save)->toolTip(), c.wording.keepTip) << c.name;
        EXPECT_EQ(box.button(CloseAnswer::Discard)->toolTip(), c.wording.discardTip) << c.name;
        EXPECT_EQ(box.button(CloseAnswer::Cancel)->toolTip(), c.wording.cancelTip) << c.name;
        for (const QString& tip : {c.wording.keepTip, c.wording.discardTip, c.wording.cancelTip})
            EXPECT_FALSE(tip.isEmpty()) << c.name;
        EXPECT_NE(c.wording.keepTip, c.wording.discardTip) << c.name;
        EXPECT_TRUE(box.windowFlags().testFlag(Qt::WindowStaysOnTopHint)) << c.name;
        EXPECT_EQ(box.button(CloseAnswer::Review) != nullptr, c.review) << c.name;
        EXPECT_EQ(box.findChild<QPushButton*>(QStringLiteral("CloseReview")) != nullptr, c.review) << c.name;
        if (c.review) {  // it says that the program stays open
            EXPECT_TRUE(box.button(CloseAnswer::Review)->toolTip().startsWith(QStringLiteral("Keep the program open")))
                << c.name;
        }
    }
}

}  // namespace
