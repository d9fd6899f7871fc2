#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <gtest/gtest.h>

#include <utility>

#include "AppFixture.h"
#include "ProgramIdentity.h"
#include "MainWindow.h"
#include "AddSpotDialog.h"
#include "SplashWindow.h"
#include "MapPreviewWindow.h"

namespace {

// The icon built into the program is the picture installed beside it, at the sizes a
// window system draws, and every window carries it: up to 64 pixels while the program
// starts (every size is sent with each window shown), every size from then on. The
// taskbar button bears the program's title, and the program names its desktop entry.
TEST(ProgramIdentity, EveryWindowCarriesTheInstalledIcon) {
    setProgramIdentity();
    EXPECT_EQ(QApplication::applicationDisplayName(), QStringLiteral("Varnex v1.4.8"));
    EXPECT_EQ(QGuiApplication::desktopFileName(), QStringLiteral("varnex"));

    constexpr auto kFormat = QImage::Format_ARGB32_Premultiplied;
    const QImage installed = QImage(QStringLiteral(VARNEX_SOURCE_DIR "/app/icon/varnex.png")).convertToFormat(kFormat);
    ASSERT_EQ(installed.size(), QSize(256, 256));

    TempFolder folder;
    writeStandardTables(folder);
    SplashWindow splash(folder.path(), folder.path());
    splash.dismiss();
    ASSERT_NE(splash.mapPreview(), nullptr);
    const std::pair<const char*, QWidget*> windows[] = {
        {"splash", &splash}, {"main", splash.mainWindow()}, {"dialog", splash.addSpotDialog()}, {"preview", splash.mapPreview()},
    };
    for (const auto& [name, window] : windows)
        EXPECT_EQ(window->windowIcon().availableSizes().back(), QSize(64, 64)) << name << " at start";

    completeProgramIcon();
    for (const auto& [name, window] : windows) {
        for (const int side : {16, 32, 64, 128, 256}) {
            const QImage shown = window->windowIcon().pixmap(side).toImage().convertToFormat(kFormat);
            EXPECT_EQ(shown, installed.scaled(side, side, Qt::IgnoreAspectRatio, Qt::SmoothTransformation))
                << name << " at " << side;
        }
    }
}

}  // namespace
