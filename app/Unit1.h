#pragma once
// TForm1: the main window. A frameless frame (title strip, minimise and close
// buttons) around the two pages, and the owner of every table of the run.

#include <filesystem>
#include <functional>

#include <QCoreApplication>
#include <QWidget>

#include "TableLoad.h"
#include "Workspace.h"

struct Forms;
class QFrame;
class QLabel;
class QTabWidget;
class QToolButton;
class SpawnPage;
class StatsPage;

class TForm1 : public QWidget {
    Q_OBJECT
public:
    // Reads data/ below workFolder; map pictures and the spawn file's saves live below
    // programFolder. Fills in its part of forms; the tables are read here, by
    // readTables when given (the start-up may have read them ahead, StartUpWork.h).
    // With spawnPageLater, the hidden "Monster Position" page is left to makeSpawnPage.
    explicit TForm1(Forms& forms,
                    std::filesystem::path workFolder = std::filesystem::current_path(),
                    std::filesystem::path programFolder =
                        QCoreApplication::applicationDirPath().toStdString(),
                    QWidget* parent = nullptr, const std::function<TableLoad()>& readTables = {},
                    bool spawnPageLater = false);
    ~TForm1() override;

    // Makes the "Monster Position" page, once. The start-up makes it just after showing
    // the window, while the window system maps it: the first paint waits for that anyway.
    void makeSpawnPage();

    Workspace& tables() { return tables_; }
    StatsPage* statsPage() const { return statsPage_; }
    SpawnPage* spawnPage() const { return spawnPage_; }
    QTabWidget* pageControl() const { return PageControl1; }

    void BitBtn1Click();
    void SpeedButton5Click();
    void SpeedButton4Click();
    void TabSheet1Show();
    void TabSheet2Show();
    // Ctrl+S: the save button of the page shown, with all it asks and reports.
    void saveShownPage();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void buildFrame();
    void setWindowTabChain();
    void FormCreate(TableLoad loaded);
    void PageControl1Change(int index);
    void statsMonsterStored();
    void restoreProgramWindows();

    Forms& forms_;
    std::filesystem::path workFolder_;
    Workspace tables_;

    QLabel* Panel3 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    QToolButton* BitBtn1 = nullptr;
    StatsPage* statsPage_ = nullptr;
    SpawnPage* spawnPage_ = nullptr;
    QList<QWidget*> minimisedWith_;  // the other windows folded with this one
};
