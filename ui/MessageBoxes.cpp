#include "MessageBoxes.h"

#include <QApplication>
#include <QMessageBox>

#include "CloseQuestion.h"

namespace {

class RealMessageBoxes final : public MessageBoxes {
public:
    void error(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                        QMessageBox::Ok, parent);
        box.exec();
    }
    void notice(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
        box.exec();
    }
    bool question(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), text,
                        QMessageBox::Yes | QMessageBox::No, parent);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    CloseAnswer askBeforeClosing(QWidget* parent, const QString& text) override {
        CloseQuestionBox box(text, parent);
        box.exec();
        return box.answer();
    }
};

RealMessageBoxes realBoxes;
MessageBoxes* installed = nullptr;

}  // namespace

MessageBoxes& messageBoxes() { return installed ? *installed : realBoxes; }

void installMessageBoxes(MessageBoxes* boxes) { installed = boxes; }
