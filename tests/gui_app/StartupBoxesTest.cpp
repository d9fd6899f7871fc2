// Start-up with the real message boxes: the boxes of a failed or partial load appear
// while no window of the program is on view (the splash is hidden, the main window
// not yet shown). Closing them must not end the program.

#include <functional>
#include <vector>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "AppFixture.h"
#include "MessageRecorder.h"
#include "MainWindow.h"
#include "SplashWindow.h"

namespace {

// Presses OK on every message box shown, as the operator would, and notes it.
class BoxCloser : public QObject {
public:
    BoxCloser() { qApp->installEventFilter(this); }
    ~BoxCloser() override { qApp->removeEventFilter(this); }

    struct Box {
        QString caption;
        QString text;
        bool hasIcon;
        int buttons;
    };
    std::vector<Box> seen;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        auto* box = qobject_cast<QMessageBox*>(watched);
        if (!box || event->type() != QEvent::Show) return false;
        seen.push_back({box->windowTitle(), box->text(), box->icon() != QMessageBox::NoIcon,
                        static_cast<int>(box->buttons().size())});
        QTimer::singleShot(0, box, [box] {
            if (QAbstractButton* ok = box->button(QMessageBox::Ok)) ok->click();
        });
        return false;
    }
};

struct StartupCase {
    const char* name;
    std::function<void(const TempFolder&)> write;
    int boxes;
    bool firstIsNotice;
};

const StartupCase kStartupCases[] = {
    {"missing monster file",
     [](const TempFolder& f) { f.write("data/Quarnel.txt", spawnFile({{1, 1, 1, 1}})); }, 1,
     false},
    {"bad monster line",
     [](const TempFolder& f) {
         f.write("data/monster.txt", monsterFile({monsterLine(1, "A"), "x\t0\t\"B\"\t1"}));
     },
     1, false},
    {"bad spawn line",
     [](const TempFolder& f) {
         f.write("data/monster.txt", monsterFile({monsterLine(1, "A")}));
         f.write("data/Quarnel.txt", "0\r\n1\t1\t0\tq\t5\t1\r\nend\r\n");
     },
     1, false},
    {"two missing monsters",
     [](const TempFolder& f) {
         f.write("data/monster.txt", monsterFile({monsterLine(1, "A")}));
         f.write("data/Quarnel.txt", spawnFile({{7, 1, 1, 1}, {1, 1, 2, 2}, {8, 1, 3, 3}}));
     },
     2, true},
};

TEST(StartupBoxes, ClosingAStartUpMessageLeavesTheProgramRunning) {
    for (const auto& c : kStartupCases) {
        TempFolder work;
        c.write(work);
        installMessageBoxes(nullptr);  // the real boxes
        BoxCloser closer;
        int result = -1;
        {
            SplashWindow splash(work.path(), work.path());
            splash.show();
            QTimer::singleShot(0, &splash, [&] {
                splash.dismiss();
                // Reached only if the boxes did not end the message loop.
                QTimer::singleShot(0, &splash, [] { QCoreApplication::exit(7); });
            });
            result = QApplication::exec();
            EXPECT_EQ(result, 7) << c.name << ": the program ended with its start-up message";
            ASSERT_NE(splash.mainWindow(), nullptr) << c.name;
            EXPECT_TRUE(splash.mainWindow()->isVisible()) << c.name;
        }
        installMessageBoxes(&recorder());
        ASSERT_EQ(closer.seen.size(), static_cast<std::size_t>(c.boxes)) << c.name;
        for (const auto& box : closer.seen) EXPECT_EQ(box.buttons, 1) << c.name;
        if (c.firstIsNotice) {
            EXPECT_EQ(closer.seen[0].caption, QStringLiteral("Error: cant find monster"));
            EXPECT_EQ(closer.seen[0].text,
                      QStringLiteral("Cant find monster in monster.txt with ID7\n\r"
                                     "this ID was found in quarnel.txt and was removed."));
            EXPECT_FALSE(closer.seen[0].hasIcon);
        } else {
            EXPECT_TRUE(closer.seen[0].hasIcon) << c.name;
        }
    }
}

}  // namespace
