#pragma once
// TForm3: the splash window. Shows the artwork and credits until its timer ticks or
// the artwork is clicked, then brings up the main window, the add-location dialog
// and the map preview, in that order, and stays hidden for the rest of the run.

#include <filesystem>
#include <functional>
#include <memory>

#include <QCoreApplication>
#include <QString>
#include <QWidget>

#include "Forms.h"
#include "TableLoad.h"

class QLabel;
class QTimer;
class TForm1;
class TForm2;
class TForm4;

class TForm3 : public QWidget {
    Q_OBJECT
public:
    // The folders are handed on to the main window.
    explicit TForm3(std::filesystem::path workFolder = std::filesystem::current_path(),
                    std::filesystem::path programFolder =
                        QCoreApplication::applicationDirPath().toStdString(),
                    QWidget* parent = nullptr);
    ~TForm3() override;

    static QString webAddress();

    // Where the main window gets its tables from; by default it reads them itself.
    void readTablesWith(std::function<TableLoad()> readTables) { readTables_ = std::move(readTables); }

    // The dismissal; runs once however often it is called.
    void SplashTimerTimer();
    void Label9Click();

    Forms& forms() { return forms_; }
    TForm1* form1() const { return form1_.get(); }
    TForm2* form2() const { return form2_.get(); }
    TForm4* form4() const { return form4_.get(); }
    QTimer* splashTimer() const { return SplashTimer; }  // null once dismissed
    bool dismissed() const { return dismissed_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Forms forms_;  // declared first: it outlives the windows that point into it
    std::filesystem::path workFolder_;
    std::filesystem::path programFolder_;
    std::function<TableLoad()> readTables_;
    std::unique_ptr<TForm1> form1_;
    std::unique_ptr<TForm2> form2_;
    std::unique_ptr<TForm4> form4_;
    bool dismissed_ = false;

    QLabel* Image1 = nullptr;
    QLabel* Label9 = nullptr;
    QTimer* SplashTimer = nullptr;
};
