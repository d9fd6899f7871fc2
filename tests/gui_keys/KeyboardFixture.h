#pragma once
// The program started on small tables of our own as the splash starts it, its main
// window active; and how the tests name the controls the keyboard reaches.

#include <memory>
#include <string>

#include <QAbstractButton>
#include <QApplication>
#include <QStringList>
#include <QTabBar>
#include <QTest>
#include <gtest/gtest.h>

#include "MessageRecorder.h"
#include "TempFolder.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "EditorWindows.h"
#include "SplashWindow.h"
#include "MapOverviewWindow.h"
#include "MapPreviewWindow.h"

// Three monsters (the first moves, the second does not). The first line is in blanks,
// so a save, which writes tabs, shows. Column 18 is the attack speed, bounded 1..2000.
inline constexpr const char* kMonsterFile =
    "5 0 \"Marshtoad\" 4 100 0 10 20 5 5 10 10 2 0 0 0 5 1500 30 0 0 0 0 0 1 1 1 1\r\n"
    "8\t0\t\"Gate Warden\"\t20\t500\t10\t30\t40\t25\t25\t30\t30\t0\t0\t0\t0\t0\t1200\t60\t0\t0\t0\t0\t0\t5\t5\t5\t5\r\n"
    "12\t0\t\"Ash Hound\"\t15\t300\t0\t25\t35\t12\t12\t25\t25\t3\t0\t0\t0\t7\t1400\t40\t0\t0\t0\t0\t0\t2\t2\t2\t2\r\n";
// The first monster has two point spots on map 1 and a range spot on map 2.
inline constexpr const char* kSpawnFile =
    "0\r\n5\t1\t3\t120\t130\t-1\r\n5\t1\t3\t20\t30\t-1\r\nend\r\n"
    "1\r\n5\t2\t10\t10\t20\t30\t40\t-1\t4\r\nend\r\n"
    "2\r\nend\r\n3\r\nend\r\n4\r\nend\r\n";
// What the spawn file's save replaces, below the program's folder.
inline constexpr const char* kOldSavedSpawnFile = "an older spawn file\r\n";

class KeyboardTest : public ::testing::Test {
public:
    void SetUp() override { start(kSpawnFile); }

    // Starts the program afresh, its spawn file read from these bytes.
    void start(const char* spawnFile) {
        splash.reset();
        work.write("data/monster.txt", kMonsterFile);
        work.write("data/Quarnel.txt", spawnFile);
        program.write("data/Quarnel.txt", kOldSavedSpawnFile);
        recorder().clear();
        splash = std::make_unique<SplashWindow>(work.path(), program.path());
        splash->dismiss();
        ASSERT_TRUE(splash->mainWindow());
        activate(main());
    }

    MainWindow* main() const { return splash->mainWindow(); }
    AddSpotDialog* dialog() const { return splash->addSpotDialog(); }
    MapPreviewWindow* preview() const { return splash->mapPreview(); }
    MapOverviewWindow* overview() const { return &splash->windows()->mapOverview(); }  // made when first asked for
    EditorWindows* windows() const { return splash->windows(); }
    const TempFolder& workFolder() const { return work; }

    static void activate(QWidget* window) {
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    }

    // A control as the tests name it: its object name, else what it shows.
    static QString nameOf(const QWidget* w) {
        if (!w) return QStringLiteral("(none)");
        if (qobject_cast<const QTabBar*>(w)) return w->parentWidget()->objectName() + QStringLiteral(" tabs");
        if (!w->objectName().isEmpty()) return w->objectName();
        if (auto* button = qobject_cast<const QAbstractButton*>(w)) return button->text().trimmed();
        return QString::fromLatin1(w->metaObject()->className());
    }
    static QString focused() { return nameOf(QApplication::focusWidget()); }
    // Gives the named control of the window the focus and types over its text.
    static void typeInto(QWidget* window, const char* name, const char* text) {
        QWidget* field = window->findChild<QWidget*>(QString::fromLatin1(name));
        ASSERT_NE(field, nullptr) << name;
        field->setFocus();
        QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(field, QString::fromLatin1(text));
    }
    static void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    // The focused control, then each one Tab moves to, until it comes round again (at
    // most 40 steps): "first > second > ... > first".
    static std::string tabRound() {
        QStringList seen{focused()};
        const QWidget* start = QApplication::focusWidget();
        for (int i = 0; i < 40 && start; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            seen << focused();
            if (QApplication::focusWidget() == start) break;
        }
        return seen.join(QStringLiteral(" > ")).toStdString();
    }

protected:
    TempFolder work;
    TempFolder program;
    std::unique_ptr<SplashWindow> splash;
};
