#include "LazyIcon.h"
#include "Unit1.h"

#include <exception>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>

#include "Colours.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "Forms.h"
#include "MissingMonsterNotices.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "TabChain.h"
#include "Unit2.h"
#include "WindowDrag.h"

namespace {

constexpr QSize kDesignSize(770, 566);
constexpr int kTitleHeight = 29;
constexpr QSize kTitleButton(23, 22);

// Flat button tabs.
const char* const kTabStyle =
    "QTabBar::tab { background: rgb(227,220,213); border: 1px solid #8a8a8a;"
    " padding: 2px 5px; margin: 1px 2px 1px 0px; }"
    "QTabBar::tab:selected { background: rgb(195,195,201); border-color: #505050; }";

}  // namespace

TForm1::TForm1(Forms& forms, std::filesystem::path workFolder, std::filesystem::path programFolder,
               QWidget* parent, const std::function<TableLoad()>& readTables, bool spawnPageLater)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      forms_(forms),
      workFolder_(std::move(workFolder)) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quarnel.txt Editor 1.04l"));
    setFont(formFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kFormColour);
    setPalette(colours);
    setAutoFillBackground(true);

    forms_.tables = &tables_;
    forms_.programFolder = std::move(programFolder);
    buildFrame();
    if (!spawnPageLater) makeSpawnPage();

    resize(kDesignSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kDesignSize.width() / 2, kDesignSize.height() / 2));
    }
    FormCreate(readTables ? readTables() : loadTables(workFolder_));
}

TForm1::~TForm1() { forms_.spawnPage = nullptr; }

void TForm1::buildFrame() {
    Panel3 = new QLabel(QStringLiteral("       Monsters Stats&Quarnel Editor"), this);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setTextFormat(Qt::PlainText);
    Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel3->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette strip = Panel3->palette();
    strip.setColor(QPalette::Window, kStripColour);
    Panel3->setPalette(strip);
    Panel3->setAutoFillBackground(true);
    installWindowDrag(Panel3);

    SpeedButton5 = new QToolButton(Panel3);
    SpeedButton5->setObjectName(QStringLiteral("SpeedButton5"));
    SpeedButton5->setToolTip(QStringLiteral("minimise"));
    SpeedButton5->setAccessibleName(QStringLiteral("Minimise"));
    SpeedButton5->setIcon(lazyStandardIcon(QStyle::SP_TitleBarMinButton));
    SpeedButton5->setAutoRaise(true);
    SpeedButton4 = new QToolButton(Panel3);
    SpeedButton4->setObjectName(QStringLiteral("SpeedButton4"));
    SpeedButton4->setToolTip(QStringLiteral("Close Program without save"));
    SpeedButton4->setAccessibleName(QStringLiteral("Close program without saving"));
    SpeedButton4->setIcon(lazyStandardIcon(QStyle::SP_TitleBarCloseButton));
    SpeedButton4->setAutoRaise(true);
    // As a system title bar's buttons: the mouse's alone, so that no Tab and Space
    // can end the program by accident.
    for (QToolButton* button : {SpeedButton5, SpeedButton4}) button->setFocusPolicy(Qt::NoFocus);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    PageControl1->setDocumentMode(true);
    PageControl1->tabBar()->setStyleSheet(QString::fromLatin1(kTabStyle));
    // Made inside the window, so that its fields are measured and placed in the
    // window's font once, not first in the default font and again when it moves in.
    statsPage_ = new StatsPage(tables_.monsters, workFolder_, PageControl1);
    statsPage_->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(statsPage_, QStringLiteral("Monster Stats"));
    PageControl1->setCurrentWidget(statsPage_);

    BitBtn1 = new QToolButton(this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setAccessibleName(QStringLiteral("Switch page keeping the monster"));
    BitBtn1->setIcon(lazyStandardIcon(QStyle::SP_BrowserReload));
    BitBtn1->setGeometry(192, 30, 22, 22);
    BitBtn1->raise();

    setWindowTabChain();
    // The main window's own: in the dialog and the preview, Ctrl+S does nothing.
    auto* save = new QShortcut(QKeySequence::Save, this);
    save->setContext(Qt::WindowShortcut);

    connect(save, &QShortcut::activated, this, &TForm1::saveShownPage);
    connect(SpeedButton5, &QToolButton::clicked, this, &TForm1::SpeedButton5Click);
    connect(SpeedButton4, &QToolButton::clicked, this, &TForm1::SpeedButton4Click);
    connect(BitBtn1, &QToolButton::clicked, this, &TForm1::BitBtn1Click);
    connect(PageControl1, &QTabWidget::currentChanged, this, &TForm1::PageControl1Change);
    connect(statsPage_, &StatsPage::editStateChanged, BitBtn1,
            [this](bool editing) { BitBtn1->setEnabled(!editing); });
    connect(statsPage_, &StatsPage::monsterStored, this, &TForm1::statsMonsterStored);
}

void TForm1::makeSpawnPage() {
    if (spawnPage_) return;
    spawnPage_ = new SpawnPage(forms_, PageControl1);
    spawnPage_->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(spawnPage_, QStringLiteral("Monster Position"));
    forms_.spawnPage = spawnPage_;
    setWindowTabChain();
    if (isVisible()) reportErrors(this, [&] { spawnPage_->FormShow(); });  // as showEvent does
}

// Tab goes round the page shown, then the page tabs and the page switch.
void TForm1::setWindowTabChain() {
    QList<QWidget*> chain = statsPage_->tabChain();
    if (spawnPage_) chain += spawnPage_->tabChain();
    setTabChain(chain + QList<QWidget*>{PageControl1->tabBar(), BitBtn1});
}

// Shows what the reading found, in the order it found it.
void TForm1::FormCreate(TableLoad loaded) {
    Workspace& t = tables_;
    t.monsters = std::move(loaded.monsters);
    t.spawns = std::move(loaded.spawns);
    const bool monstersRead = reportErrors(this, [&] {
        if (loaded.monsterError) std::rethrow_exception(loaded.monsterError);
    });
    statsPage_->fillList();
    if (!monstersRead) return;
    MissingMonsterNotices notices(this);
    reportErrors(this, [&] {
        for (const MissingMonster& dropped : loaded.dropped) notices.add(dropped);
        notices.finish();  // the lines dropped before the reason reading stopped, if any
        t.spawns.rememberSaveTarget(forms_.programFolder);
        if (loaded.spawnError) std::rethrow_exception(loaded.spawnError);
    });
}

void TForm1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Panel3->setGeometry(0, 0, width(), kTitleHeight);
    SpeedButton4->setGeometry(QRect(QPoint(width() - kTitleButton.width() - 3, 3), kTitleButton));
    SpeedButton5->setGeometry(
        QRect(QPoint(width() - 2 * kTitleButton.width() - 3, 3), kTitleButton));
    PageControl1->setGeometry(0, kTitleHeight, width(), height() - kTitleHeight);
    BitBtn1->raise();
}

void TForm1::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    PageControl1Change(PageControl1->currentIndex());
    if (spawnPage_) reportErrors(this, [&] { spawnPage_->FormShow(); });
}

// Whichever way the page came up (a tab, BitBtn1, the first showing), the keyboard
// starts on its list.
void TForm1::PageControl1Change(int index) {
    if (PageControl1->widget(index) == statsPage_) {
        TabSheet1Show();
        statsPage_->focusStart();
    } else {
        TabSheet2Show();
        spawnPage_->focusStart();
    }
}

void TForm1::TabSheet1Show() {
    reportErrors(this, [&] { resize(610, 510); });
}

void TForm1::TabSheet2Show() {
    reportErrors(this, [&] {
        resize(width(), 580);
        resize(770, 580);
    });
}

void TForm1::saveShownPage() {
    if (PageControl1->currentWidget() == statsPage_)
        statsPage_->SpeedButton8Click();
    else
        spawnPage_->SpeedButton1Click();
}

void TForm1::BitBtn1Click() {
    reportErrors(this, [&] {
        if (PageControl1->currentWidget() == spawnPage_) {
            const int index = spawnPage_->selectedMonsterIndex();
            PageControl1->setCurrentWidget(statsPage_);
            statsPage_->selectIndex(index);
        } else {
            const int index = statsPage_->selectedIndex();
            makeSpawnPage();
            PageControl1->setCurrentWidget(spawnPage_);
            spawnPage_->selectMonsterIndex(index);
            spawnPage_->allmonsterlistClick();
        }
    });
}

void TForm1::statsMonsterStored() {
    reportErrors(this, [&] {
        TForm2* dialog = forms_.form2;
        if (!dialog || dialog->monsterIdCombo()->currentText().isEmpty()) return;
        dialog->MonsterIDcomboChange();
        dialog->RadioGroup1Click();
    });
}

// The whole program folds into the main window's taskbar button: the other windows
// hide with it and come back when it is restored.
void TForm1::SpeedButton5Click() {
    reportErrors(this, [&] {
        minimisedWith_.clear();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window == this || !window->isVisible()) continue;
            // A tooltip or an open drop-down is not a window to bring back later.
            const Qt::WindowType type = window->windowType();
            if (type == Qt::ToolTip || type == Qt::Popup) continue;
            minimisedWith_.append(window);
            window->hide();
        }
        showMinimized();
    });
}

void TForm1::restoreProgramWindows() {
    const auto windows = std::exchange(minimisedWith_, {});
    const QList<QWidget*> alive = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (alive.contains(window)) window->show();
}

void TForm1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && !minimisedWith_.isEmpty())
        restoreProgramWindows();
}

// Ending never asks and never saves: the tables are written only by their save buttons.
void TForm1::SpeedButton4Click() { QCoreApplication::exit(0); }

void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::exit(0);
}
