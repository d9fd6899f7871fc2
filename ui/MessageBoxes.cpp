#include "MessageBoxes.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <memory>

#include "CloseQuestion.h"
#include "FittedMessage.h"

namespace {

// Above the windows that stay above the others, which a box that is not would be under.
constexpr Qt::WindowFlags kOnTop = Qt::WindowStaysOnTopHint;

class RealMessageBoxes final : public MessageBoxes {
public:
    void error(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), fittedMessage(text),
                        QMessageBox::Ok, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | kOnTop);
        box.exec();
    }
    void notice(QWidget* parent, const QString& caption, const QString& text) override {
        QMessageBox box(QMessageBox::NoIcon, caption, fittedMessage(text), QMessageBox::Ok, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | kOnTop);
        box.exec();
    }
    bool question(QWidget* parent, const QString& text) override {
        QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(), fittedMessage(text),
                        QMessageBox::Yes | QMessageBox::No, parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | kOnTop);
        box.setDefaultButton(QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    CloseAnswer askBeforeClosing(QWidget* parent, const QString& text) override {
        CloseQuestionBox box(fittedMessage(text), parent);
        box.exec();
        return box.answer();
    }
    TypedValuesAnswer askAboutTypedValues(QWidget* parent, const QString& text) override {
        CloseQuestionBox box(text, CloseQuestionBox::typedValuesWording(), parent);
        box.exec();
        switch (box.answer()) {
        case CloseAnswer::Save: return TypedValuesAnswer::Store;
        case CloseAnswer::Discard: return TypedValuesAnswer::Discard;
        case CloseAnswer::Cancel:
        case CloseAnswer::Review: break;  // not offered here
        }
        return TypedValuesAnswer::Cancel;
    }
};

RealMessageBoxes realBoxes;

// The toolkit's own input dialog, with only OK and Cancel.
QInputDialog* inputBox(QWidget* parent, const QString& title, const QString& label) {
    auto* box = new QInputDialog(parent, Qt::Dialog | kOnTop);
    box->setAttribute(Qt::WA_DeleteOnClose, false);
    box->setWindowTitle(title);
    box->setLabelText(label);
    return box;
}
MessageBoxes* installed = nullptr;

}  // namespace

MessageBoxes& messageBoxes() { return installed ? *installed : realBoxes; }

void installMessageBoxes(MessageBoxes* boxes) { installed = boxes; }

std::optional<int> MessageBoxes::askNumber(QWidget* parent, const QString& title, const QString& label, int value,
                                           int min, int max) {
    const std::unique_ptr<QInputDialog> box(inputBox(parent, title, label));
    box->setInputMode(QInputDialog::IntInput);
    box->setIntRange(min, max);
    box->setIntValue(value);
    if (box->exec() != QDialog::Accepted) return std::nullopt;
    return box->intValue();
}

std::optional<int> MessageBoxes::askChoice(QWidget* parent, const QString& title, const QString& label,
                                           const QStringList& items, int current) {
    const std::unique_ptr<QInputDialog> box(inputBox(parent, title, label));
    box->setComboBoxItems(items);
    box->setComboBoxEditable(false);
    if (current >= 0 && current < items.size()) box->setTextValue(items[current]);
    if (box->exec() != QDialog::Accepted) return std::nullopt;
    const int chosen = static_cast<int>(items.indexOf(box->textValue()));
    if (chosen < 0) return std::nullopt;
    return chosen;
}
