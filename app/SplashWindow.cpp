#include "SplashWindow.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <utility>

#include "Colours.h"
#include "DesignPalette.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "SplashArt.h"

namespace {

constexpr int kSplashMilliseconds = 5000;

QLabel* addLabel(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->move(at);
    label->adjustSize();
    return label;
}


}  // namespace

QString SplashWindow::webAddress() { return QStringLiteral("https://varnex.test"); }

SplashWindow::SplashWindow(std::filesystem::path workFolder, std::filesystem::path programFolder,
               QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      workFolder_(std::move(workFolder)),
      programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("Form3"));
    setFont(formFont());
    setPalette(designPalette());
    setAutoFillBackground(true);
    setFixedSize(479, 349);

    artwork_ = new QLabel(this);
    artwork_->setObjectName(QStringLiteral("Image1"));
    artwork_->setPixmap(splashArt());
    artwork_->setGeometry(0, 0, kSplashArtWidth, kSplashArtHeight);
    artwork_->installEventFilter(this);

    addLabel(this, "Label1",
             QStringLiteral("Monster Stats&Quarnel Editor Created by Dunmarrow Developer Group"),
             {1, 319});
    addLabel(this, "Label7", QStringLiteral("Build date 1.05.2005"), {0, 336});
    addLabel(this, "Label8", QStringLiteral("for latest version visit"), {313, 336});
    webLink_ = addLabel(this, "Label9", QUrl(webAddress()).host(), {417, 336});
    QFont bold = webLink_->font();
    bold.setBold(true);
    webLink_->setFont(bold);
    QPalette link = webLink_->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    webLink_->setPalette(link);
    webLink_->setCursor(Qt::PointingHandCursor);
    webLink_->adjustSize();
    webLink_->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    splashTimer_ = new QTimer(this);
    splashTimer_->setObjectName(QStringLiteral("SplashTimer"));
    splashTimer_->setSingleShot(true);
    splashTimer_->setInterval(kSplashMilliseconds);
    connect(splashTimer_, &QTimer::timeout, this, &SplashWindow::dismiss);
    splashTimer_->start();
}

SplashWindow::~SplashWindow() = default;

bool SplashWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* label = static_cast<QWidget*>(watched);
    if (!label->rect().contains(mouse->position().toPoint())) return false;
    if (watched == artwork_) dismiss();
    if (watched == webLink_) openWebAddress();
    return false;
}

void SplashWindow::dismiss() {
    if (dismissed_) return;
    dismissed_ = true;
    reportErrors(this, [&] {
        hide();
        artwork_->clear();  // the picture is not needed again
        splashTimer_->stop();
        splashTimer_->deleteLater();
        splashTimer_ = nullptr;

        const auto readTables = std::exchange(readTables_, {});
        windows_ = std::make_unique<EditorWindows>(workFolder_, programFolder_,
                                                   readTables ? readTables() : loadTables(workFolder_, programFolder_));
    });
}

// A failure to start the browser is not reported.
void SplashWindow::openWebAddress() { QDesktopServices::openUrl(QUrl(webAddress())); }
