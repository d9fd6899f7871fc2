#pragma once
// The question before the program ends with unsaved changes: Save, Discard, Cancel; and
// the one before the monster table is acted on while Monster Stats holds typed values:
// Store, Discard, Cancel. A message box orders its buttons by the desktop's rules (a GTK
// desktop puts Cancel first); this box keeps them in one order everywhere, so the hand
// that learned it on one desktop is right on every other.

#include <QDialog>

#include "QuestionAnswers.h"

class QPushButton;

class CloseQuestionBox : public QDialog {
    Q_OBJECT
public:
    // The first two buttons' words; Cancel is the same in every question.
    struct Wording {
        QString keep;  // Save, Store
        QString keepTip;
        QString discardTip;
        QString cancelTip;
        bool offersReview = false;  // the close question's Review... beside the answers
    };
    static Wording closeWording();
    static Wording typedValuesWording();

    // The first button is the default (Enter); Escape and the window's close button cancel.
    CloseQuestionBox(const QString& text, QWidget* parent = nullptr);
    CloseQuestionBox(const QString& text, const Wording& wording, QWidget* parent = nullptr);

    // Save for the first button (Store), Discard, Cancel or Review.
    CloseAnswer answer() const { return answer_; }
    QPushButton* button(CloseAnswer which) const;  // null for Review when not offered

private:
    CloseAnswer answer_ = CloseAnswer::Cancel;
    QPushButton* save_ = nullptr;
    QPushButton* discard_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QPushButton* review_ = nullptr;
};
