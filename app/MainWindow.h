#pragma once
// The main window: a frameless frame (title strip, minimise and close buttons) around
// the two pages, which show and change the document.
//
// Ending (MainWindow::mayEnd): every way of ending goes through `closeEvent` (and a session's end
// through `commitDataRequest`), which first settles the stats page's typed values, then asks once
// through `MessageBoxes::askBeforeClosing` when a history is not clean. The real box
// (ui/CloseQuestion.h) is a dialog of our own rather than a QMessageBox, whose buttons a desktop's
// button layout reorders (GNOME's puts Cancel first): Save, Discard, Cancel in one row, Save the
// default, Escape and the window's close button Cancel, and "Review..." at the row's other end,
// which keeps the program open and has the main window ask for the review of the save
// (`reviewRequested`). Save runs `EditorDocument::save` for each unsaved file with the save
// buttons' question (`askBeforeOverwrite`), reporting a failure through `reportErrors`; the program
// ends only when every save returned true.

#include <QWidget>

#include "EditorDocument.h"
#include "TableLoad.h"

class QLabel;
class QTabWidget;
class QToolButton;
class SpawnPage;
class StatsPage;

class MainWindow : public QWidget {
    Q_OBJECT
public:
    // Hands the tables the start-up read to the document and shows what stopped the
    // reading. The hidden "Monster Position" page is left to makeSpawnPage.
    MainWindow(EditorDocument& document, TableLoad loaded, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Makes the "Monster Position" page, once, and tells spawnPageMade.
    void makeSpawnPage();

    EditorDocument& document() const { return document_; }
    StatsPage* statsPage() const { return statsPage_; }
    SpawnPage* spawnPage() const { return spawnPage_; }
    QTabWidget* pages() const { return pages_; }

    void switchPageKeepingMonster();
    void minimiseProgram();
    void closeProgram();
    // Ctrl+S: saves the file of the page shown, with all it asks and reports.
    void saveShownPage();
    // Where on the screen its save, delete and title buttons and its page tabs are, which
    // a tool window should not cover.
    QList<QRect> placesToKeepClear() const;

signals:
    // The "Monster Position" page was made; the windows that work with it wire up.
    void spawnPageMade(SpawnPage* page);
    // "Review..." in the question before closing: the program stays open to show what
    // the saves would write.
    void reviewRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildFrame();
    void setWindowTabChain();
    void showStartUpNotices(const std::vector<std::string>& notices);
    void showLoadedTables(TableLoad loaded);
    void pageShown(int index);
    void fitStatsPage();
    void fitPositionPage();
    void restoreProgramWindows();
    QList<TableFile> unsavedFiles() const;
    bool mayEnd();
    void showUnsavedState();

    EditorDocument& document_;
    QLabel* titleStrip_ = nullptr;
    QToolButton* minimiseButton_ = nullptr;
    QToolButton* closeButton_ = nullptr;
    QTabWidget* pages_ = nullptr;
    QToolButton* switchPageButton_ = nullptr;
    StatsPage* statsPage_ = nullptr;
    SpawnPage* spawnPage_ = nullptr;
    QList<QWidget*> minimisedWith_;  // the other windows folded with this one
    bool endAgreed_ = false;
};
