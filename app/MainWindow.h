#pragma once
// The main window: a frameless frame (title strip, minimise and close buttons) around
// the two pages, which show and change the document.

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
