// When a window closes, the keyboard goes back to the window that asked for it, unless
// it has gone on to another window meanwhile, or another window came up as it closed.
// (Dialogs and message boxes, whose window that asked is their parent, are closed on a
// real X server by tests/gui_drag/operator_test.sh: the offscreen platform hands the
// keyboard of a closed dialog back and forth by itself.)

#include <functional>
#include <memory>

#include <QApplication>
#include <QDialog>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include "KeyboardReturn.h"

namespace {

void activate(QWidget* window) {
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
}

TEST(KeyboardReturn, TheWindowThatAskedGetsTheKeyboardBack) {
    giveKeyboardBackOnClose();
    struct Windows {
        QWidget asker;
        QWidget other;
        std::unique_ptr<QDialog> dialog;   // the asker's
        std::unique_ptr<QWidget> opened;   // shown from the asker, a window of its own
        QWidget* closing = nullptr;
    };
    struct Case {
        const char* name;
        bool dialog;                              // else a window opened from the asker
        std::function<void(Windows&)> meanwhile;  // with the closing window active
        std::function<void(Windows&)> after;      // right after it closed, in the same turn
        const char* keyboard;                     // "asker", "other" or "" (no one's)
    };
    const Case cases[] = {
        {"a window opened from the asker closes", false, {}, {}, "asker"},
        {"the operator went to another window meanwhile", true, [](Windows& w) { activate(&w.other); }, {},
         "other"},
        {"another window came up as it closed", false, {}, [](Windows& w) { activate(&w.other); }, "other"},
        {"the asker was hidden meanwhile", true, [](Windows& w) { w.asker.hide(); }, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Windows w;
        w.asker.setObjectName(QStringLiteral("asker"));
        w.other.setObjectName(QStringLiteral("other"));
        w.other.move(400, 0);
        activate(&w.asker);
        if (c.dialog) {
            w.dialog = std::make_unique<QDialog>(&w.asker);
            w.closing = w.dialog.get();
        } else {
            w.opened = std::make_unique<QWidget>();
            w.closing = w.opened.get();
        }
        w.closing->move(200, 200);
        activate(w.closing);
        if (c.meanwhile) c.meanwhile(w);
        w.closing->hide();
        if (c.after) c.after(w);
        QTest::qWait(250);
        QApplication::processEvents();
        const QWidget* active = QApplication::activeWindow();
        const QString name = active ? active->objectName() : QString();
        if (QString::fromLatin1(c.keyboard).isEmpty())
            EXPECT_TRUE(active == nullptr || active == w.closing) << name.toStdString();
        else
            EXPECT_EQ(name.toStdString(), c.keyboard);
    }
}

}  // namespace
