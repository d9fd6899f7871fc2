#include "LazyIcon.h"
#include "MainWindow.h"

#include <algorithm>
#include <exception>

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QScreen>
#include <QSessionManager>
#include <QShortcut>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QUndoStack>

#include "Colours.h"
#include "DesignPalette.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "HistoryMarks.h"
#include "MessageBoxes.h"
#include "MissingMonsterNotices.h"
#include "ProgramKeys.h"
#include "SaveQuestion.h"
#include "SpawnPage.h"
#include "StatsPage.h"
#include "TabChain.h"
#include "VisibleText.h"
#include "WindowDrag.h"

namespace {

constexpr QSize kDesignSize(770, 566);
const char* const kTitle = "       Monsters Stats&Quarnel Editor";
constexpr int kTitleHeight = 29;
constexpr QSize kTitleButton(23, 22);

// Flat button tabs, their text as dark as the design draws it on any desktop.
const char* const kTabStyle =
    "QTabBar::tab { background: rgb(227,220,213); color: black; border: 1px solid #8a8a8a;"
    " padding: 2px 5px; margin: 1px 2px 1px 0px; }"
    "QTabBar::tab:selected { background: rgb(195,195,201); border-color: #505050; }";

}  // namespace

MainWindow::MainWindow(EditorDocument& document, TableLoad loaded, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), document_(document) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quarnel.txt Editor 1.04l"));
    setFont(formFont());
    setPalette(designPalette());
    setAutoFillBackground(true);

    buildFrame();

    resize(kDesignSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kDesignSize.width() / 2, kDesignSize.height() / 2));
    }
    showLoadedTables(std::move(loaded));
}

MainWindow::~MainWindow() = default;

void MainWindow::buildFrame() {
    titleStrip_ = new QLabel(QString::fromLatin1(kTitle), this);
    titleStrip_->setObjectName(QStringLiteral("Panel3"));
    titleStrip_->setTextFormat(Qt::PlainText);
    titleStrip_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    titleStrip_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QPalette strip = titleStrip_->palette();
    strip.setColor(QPalette::Window, kStripColour);
    titleStrip_->setPalette(strip);
    titleStrip_->setAutoFillBackground(true);
    installWindowDrag(titleStrip_);

    minimiseButton_ = new QToolButton(titleStrip_);
    minimiseButton_->setObjectName(QStringLiteral("SpeedButton5"));
    minimiseButton_->setToolTip(QStringLiteral("minimise"));
    minimiseButton_->setAccessibleName(QStringLiteral("Minimise"));
    minimiseButton_->setIcon(lazyStandardIcon(QStyle::SP_TitleBarMinButton));
    minimiseButton_->setAutoRaise(true);
    closeButton_ = new QToolButton(titleStrip_);
    closeButton_->setObjectName(QStringLiteral("SpeedButton4"));
    closeButton_->setToolTip(QStringLiteral("Close Program without save"));
    closeButton_->setAccessibleName(QStringLiteral("Close program without saving"));
    closeButton_->setIcon(lazyStandardIcon(QStyle::SP_TitleBarCloseButton));
    closeButton_->setAutoRaise(true);
    // As a system title bar's buttons: the mouse's alone, so that no Tab and Space
    // can end the program by accident.
    for (QToolButton* button : {minimiseButton_, closeButton_}) button->setFocusPolicy(Qt::NoFocus);

    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    pages_->setDocumentMode(true);
    pages_->tabBar()->setStyleSheet(QString::fromLatin1(kTabStyle));
    // Made inside the window, so that its fields are measured and placed in the
    // window's font once, not first in the default font and again when it moves in.
    statsPage_ = new StatsPage(document_, pages_);
    statsPage_->setObjectName(QStringLiteral("TabSheet1"));
    pages_->addTab(statsPage_, QStringLiteral("Monster Stats"));
    pages_->setCurrentWidget(statsPage_);

    switchPageButton_ = new QToolButton(this);
    switchPageButton_->setObjectName(QStringLiteral("BitBtn1"));
    switchPageButton_->setAccessibleName(QStringLiteral("Switch page keeping the monster"));
    switchPageButton_->setIcon(lazyStandardIcon(QStyle::SP_BrowserReload));
    switchPageButton_->setGeometry(192, 30, 22, 22);
    switchPageButton_->raise();

    setWindowTabChain();
    // Saves the file of the page shown; the dialog, the preview and the map overview save
    // the spawn file with their own (EditorWindows).
    QShortcut* save = makeShortcut(this, KeyAction::Save);
    // The map overview opens from the "Monster Position" page, on its map.
    QShortcut* overview = makeShortcut(this, KeyAction::Overview);
    // ">Edit Selected" of "Monster Stats", where the button is enabled.
    QShortcut* edit = makeShortcut(this, KeyAction::EditMonster);

    connect(save, &QShortcut::activated, this, &MainWindow::saveShownPage);
    connect(overview, &QShortcut::activated, this, [this] {
        if (spawnPage_ && pages_->currentWidget() == spawnPage_) spawnPage_->requestOverview();
    });
    connect(edit, &QShortcut::activated, this, [this] {
        if (pages_->currentWidget() == statsPage_ && !statsPage_->editing()) statsPage_->startEditing();
    });
    connect(minimiseButton_, &QToolButton::clicked, this, &MainWindow::minimiseProgram);
    connect(closeButton_, &QToolButton::clicked, this, &MainWindow::closeProgram);
    connect(switchPageButton_, &QToolButton::clicked, this, &MainWindow::switchPageKeepingMonster);
    connect(pages_, &QTabWidget::currentChanged, this, &MainWindow::pageShown);
    connect(&document_, &EditorDocument::historyChanged, this, &MainWindow::showUnsavedState);
    // The keys act on the history of the page shown; in the stats page's edit state they
    // are the fields' own.
    installHistoryKeys(this, [this]() -> QUndoStack* {
        if (pages_->currentWidget() != statsPage_) return &document_.history(TableFile::Spawns);
        return statsPage_->editing() ? nullptr : &document_.history(TableFile::Monsters);
    });
    // Logging out asks as closing does; No keeps the session from ending.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& session) {
        if (!unsavedFiles().isEmpty() && (!session.allowsInteraction() || !mayEnd())) session.cancel();
        session.release();
    });
    connect(statsPage_, &StatsPage::editStateChanged, switchPageButton_,
            [this](bool editing) { switchPageButton_->setEnabled(!editing); });
}

void MainWindow::makeSpawnPage() {
    if (spawnPage_) return;
    spawnPage_ = new SpawnPage(document_, pages_);
    spawnPage_->setObjectName(QStringLiteral("TabSheet2"));
    pages_->addTab(spawnPage_, QStringLiteral("Monster Position"));
    setWindowTabChain();
    emit spawnPageMade(spawnPage_);
    if (isVisible()) spawnPage_->fillFirstTime();  // as showEvent does
}

// Tab goes round the page shown, then the page tabs and the page switch.
void MainWindow::setWindowTabChain() {
    QList<QWidget*> chain = statsPage_->tabChain();
    if (spawnPage_) chain += spawnPage_->tabChain();
    setTabChain(chain + QList<QWidget*>{pages_->tabBar(), switchPageButton_});
}

// Shows what the reading found, in the order it found it.
// What the start put right before reading, in one box.
void MainWindow::showStartUpNotices(const std::vector<std::string>& notices) {
    if (notices.empty()) return;
    QStringList lines;
    for (const std::string& notice : notices) lines << QString::fromStdString(visibleText(notice));
    reportErrors(this, [&] { messageBoxes().notice(this, QGuiApplication::applicationDisplayName(), lines.join(QLatin1Char('\n'))); });
}

void MainWindow::showLoadedTables(TableLoad loaded) {
    document_.adoptTables(std::move(loaded.monsters), std::move(loaded.spawns));
    showStartUpNotices(loaded.notices);
    const bool monstersRead = reportErrors(this, [&] {
        if (loaded.monsterError) std::rethrow_exception(loaded.monsterError);
    });
    statsPage_->fillList();
    if (!monstersRead) return;
    MissingMonsterNotices notices(this);
    reportErrors(this, [&] {
        for (const MissingMonster& dropped : loaded.dropped) notices.add(dropped);
        notices.finish();  // the lines dropped before the reason reading stopped, if any
        document_.rememberSpawnSaveTarget();
        if (loaded.spawnError) std::rethrow_exception(loaded.spawnError);
    });
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    titleStrip_->setGeometry(0, 0, width(), kTitleHeight);
    closeButton_->setGeometry(QRect(QPoint(width() - kTitleButton.width() - 3, 3), kTitleButton));
    minimiseButton_->setGeometry(
        QRect(QPoint(width() - 2 * kTitleButton.width() - 3, 3), kTitleButton));
    pages_->setGeometry(0, kTitleHeight, width(), height() - kTitleHeight);
    switchPageButton_->raise();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    pageShown(pages_->currentIndex());
    if (spawnPage_) spawnPage_->fillFirstTime();
}

// Whichever way the page came up (a tab, the page switch, the first showing), the
// keyboard starts on its list. Each page has its own window size.
void MainWindow::pageShown(int index) {
    if (pages_->widget(index) == statsPage_) {
        fitStatsPage();
        statsPage_->focusStart();
    } else {
        fitPositionPage();
        spawnPage_->focusStart();
    }
}

void MainWindow::fitStatsPage() { resize(610, 510); }

void MainWindow::fitPositionPage() {
    resize(width(), 580);
    resize(770, 580);
}

void MainWindow::saveShownPage() {
    if (pages_->currentWidget() == statsPage_) {
        statsPage_->saveMonsterFile();  // which asks first about values typed there
        return;
    }
    reportErrors(this, [&] { document_.save(TableFile::Spawns, askBeforeOverwrite(this)); });
}

void MainWindow::switchPageKeepingMonster() {
    reportErrors(this, [&] {
        if (pages_->currentWidget() == spawnPage_) {
            const int index = spawnPage_->selectedMonsterIndex();
            pages_->setCurrentWidget(statsPage_);
            statsPage_->selectIndex(index);
        } else {
            const int index = statsPage_->selectedIndex();
            makeSpawnPage();
            pages_->setCurrentWidget(spawnPage_);
            spawnPage_->selectMonsterIndex(index);
            spawnPage_->showSelectedMonster();
        }
    });
}

// The whole program folds into the main window's taskbar button: the other windows
// hide with it and come back when it is restored.
void MainWindow::minimiseProgram() {
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

void MainWindow::restoreProgramWindows() {
    const auto windows = std::exchange(minimisedWith_, {});
    const QList<QWidget*> alive = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (alive.contains(window)) window->show();
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && !minimisedWith_.isEmpty())
        restoreProgramWindows();
}

// Both pages' buttons count: the pages lie one over the other in the window; and the
// tabs that switch between them.
QList<QRect> MainWindow::placesToKeepClear() const {
    QList<const QWidget*> buttons{minimiseButton_, closeButton_};
    for (const char* name : {"SpeedButton8", "SpeedButton1"})
        for (const QWidget* found : findChildren<QWidget*>(QString::fromLatin1(name))) buttons << found;
    // The two "Delete Spot" buttons take the same place on their pages; a page not yet
    // shown has not been laid out, so only a shown one says where that is.
    QList<const QWidget*> deletes;
    for (const char* name : {"Button4", "Button5"})
        for (const QWidget* found : findChildren<QWidget*>(QString::fromLatin1(name))) deletes << found;
    const auto shown = std::find_if(deletes.begin(), deletes.end(), [](const QWidget* w) { return w->isVisible(); });
    if (shown != deletes.end())
        buttons << *shown;
    else
        buttons << deletes;
    QList<QRect> places;
    for (const QWidget* button : buttons) places << QRect(button->mapToGlobal(QPoint(0, 0)), button->size());
    // The page tabs: a window over "Monster Stats" would take the click meant for it.
    const QTabBar* tabs = pages_->tabBar();
    for (int tab = 0; tab < tabs->count(); ++tab) {
        const QRect rect = tabs->tabRect(tab);
        places << QRect(tabs->mapToGlobal(rect.topLeft()), rect.size());
    }
    return places;
}

QList<TableFile> MainWindow::unsavedFiles() const {
    QList<TableFile> files;
    for (const TableFile file : {TableFile::Monsters, TableFile::Spawns})
        if (!document_.history(file).isClean()) files << file;
    return files;
}

namespace {

QString fileName(TableFile file) {
    return file == TableFile::Monsters ? QStringLiteral("monster.txt") : QStringLiteral("Quarnel.txt");
}

}  // namespace

// With unsaved changes, ending asks once, whichever way the end comes: Save saves every
// such file as its save button does, questions and all, and ends only when every save
// succeeded; Discard ends without saving; Cancel keeps the program open as it was, and
// Review keeps it open with the review of the saves.
bool MainWindow::mayEnd() {
    if (endAgreed_) return true;
    // Typed values first: stored, they are an unsaved change of their own.
    if (!statsPage_->settleTypedValues(this, QStringLiteral("closing"))) return false;
    const QList<TableFile> unsaved = unsavedFiles();
    if (unsaved.isEmpty()) return endAgreed_ = true;
    QStringList files;  // "monster.txt (2 changes)"
    for (const TableFile file : unsaved) {
        const int changes = document_.unsavedChanges(file);
        files << QStringLiteral("%1 (%2 %3)")
                     .arg(fileName(file))
                     .arg(changes)
                     .arg(changes == 1 ? QStringLiteral("change") : QStringLiteral("changes"));
    }
    const QString text =
        QStringLiteral("Unsaved changes: %1.\nSave them before closing?").arg(files.join(QStringLiteral(", ")));
    switch (messageBoxes().askBeforeClosing(this, text)) {
    case CloseAnswer::Cancel: return false;
    case CloseAnswer::Review:
        emit reviewRequested();
        return false;
    case CloseAnswer::Discard: return endAgreed_ = true;
    case CloseAnswer::Save: break;
    }
    // Each file is saved on its own: a failure or a No for one leaves the other saved.
    bool allSaved = true;
    for (const TableFile file : unsaved) {
        bool saved = false;
        reportErrors(this, [&] { saved = document_.save(file, askBeforeOverwrite(this)); });
        allSaved = allSaved && saved;
    }
    return endAgreed_ = allSaved;
}

void MainWindow::closeProgram() { close(); }

void MainWindow::closeEvent(QCloseEvent* event) {
    if (!mayEnd()) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

void MainWindow::showUnsavedState() {
    QStringList names;
    for (const TableFile file : unsavedFiles()) names << fileName(file);
    QString title = QString::fromLatin1(kTitle);
    if (!names.isEmpty()) title += QStringLiteral(" \u2014 unsaved: ") + names.join(QStringLiteral(", "));
    titleStrip_->setText(title);
}
