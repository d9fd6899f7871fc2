#include "Unit3.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <utility>

#include "Colours.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "SplashArt.h"
#include "Unit1.h"
#include "Unit2.h"
#include "Unit4.h"

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

int primaryScreenHeight() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry().height() : 768;
}

}  // namespace

QString TForm3::webAddress() { return QStringLiteral("https://varnex.test"); }

TForm3::TForm3(std::filesystem::path workFolder, std::filesystem::path programFolder,
               QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      workFolder_(std::move(workFolder)),
      programFolder_(std::move(programFolder)) {
    setObjectName(QStringLiteral("Form3"));
    setFont(formFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kFormColour);
    setPalette(colours);
    setAutoFillBackground(true);
    setFixedSize(479, 349);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(splashArt());
    Image1->setGeometry(0, 0, kSplashArtWidth, kSplashArtHeight);
    Image1->installEventFilter(this);

    addLabel(this, "Label1",
             QStringLiteral("Monster Stats&Quarnel Editor Created by Dunmarrow Developer Group"),
             {1, 319});
    addLabel(this, "Label7", QStringLiteral("Build date 1.05.2005"), {0, 336});
    addLabel(this, "Label8", QStringLiteral("for latest version visit"), {313, 336});
    Label9 = addLabel(this, "Label9", QUrl(webAddress()).host(), {417, 336});
    QFont bold = Label9->font();
    bold.setBold(true);
    Label9->setFont(bold);
    QPalette link = Label9->palette();
    link.setColor(QPalette::WindowText, Qt::blue);
    Label9->setPalette(link);
    Label9->setCursor(Qt::PointingHandCursor);
    Label9->adjustSize();
    Label9->installEventFilter(this);

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    SplashTimer = new QTimer(this);
    SplashTimer->setObjectName(QStringLiteral("SplashTimer"));
    SplashTimer->setSingleShot(true);
    SplashTimer->setInterval(kSplashMilliseconds);
    connect(SplashTimer, &QTimer::timeout, this, &TForm3::SplashTimerTimer);
    SplashTimer->start();
}

TForm3::~TForm3() {
    forms_.form4 = nullptr;
    form4_.reset();
    forms_.form2 = nullptr;
    form2_.reset();
    form1_.reset();
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::MouseButtonRelease) return false;
    const auto* mouse = static_cast<QMouseEvent*>(event);
    const auto* label = static_cast<QWidget*>(watched);
    if (!label->rect().contains(mouse->position().toPoint())) return false;
    if (watched == Image1) SplashTimerTimer();
    if (watched == Label9) Label9Click();
    return false;
}

void TForm3::SplashTimerTimer() {
    if (dismissed_) return;
    dismissed_ = true;
    reportErrors(this, [&] {
        hide();
        Image1->clear();  // the picture is not needed again
        SplashTimer->stop();
        SplashTimer->deleteLater();
        SplashTimer = nullptr;

        form1_ = std::make_unique<TForm1>(forms_, workFolder_, programFolder_, nullptr,
                                          std::exchange(readTables_, {}), true);
        form1_->show();
        // The hidden page and windows are made while the window system maps the main
        // window, which its first paint waits for anyway.
        form1_->makeSpawnPage();
        form2_ = std::make_unique<TForm2>(forms_);
        forms_.form2 = form2_.get();
        form2_->hide();
        form4_ = std::make_unique<TForm4>(forms_, primaryScreenHeight());
        forms_.form4 = form4_.get();
        form4_->hide();
    });
}

// A failure to start the browser is not reported.
void TForm3::Label9Click() { QDesktopServices::openUrl(QUrl(webAddress())); }
