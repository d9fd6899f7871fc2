#include "CloseQuestion.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

CloseQuestionBox::Wording CloseQuestionBox::closeWording() {
    return {QStringLiteral("&Save"), QStringLiteral("Save every file with unsaved changes, then close"),
            QStringLiteral("Close without saving: the changes are lost"),
            QStringLiteral("Keep the program open with the changes"), true};
}

CloseQuestionBox::Wording CloseQuestionBox::typedValuesWording() {
    return {QStringLiteral("&Store"), QStringLiteral("Store the typed values, as OK does, then go on"),
            QStringLiteral("Go on without them: the monster keeps its stored values"),
            QStringLiteral("Go back to the typed values; nothing else happens")};
}

CloseQuestionBox::CloseQuestionBox(const QString& text, QWidget* parent)
    : CloseQuestionBox(text, closeWording(), parent) {}

// A box of a fixed size with a close button alone, as a message box is, above every
// window of the program.
CloseQuestionBox::CloseQuestionBox(const QString& text, const Wording& wording, QWidget* parent)
    : QDialog(parent, Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("CloseQuestion"));
    setWindowTitle(QApplication::applicationDisplayName());
    setModal(true);

    auto* icon = new QLabel(this);
    const int side = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
    icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxQuestion, nullptr, this).pixmap(side, side));
    icon->setAlignment(Qt::AlignTop);
    auto* message = new QLabel(text, this);
    message->setObjectName(QStringLiteral("CloseQuestionText"));
    message->setTextFormat(Qt::PlainText);
    message->setWordWrap(true);
    message->setTextInteractionFlags(Qt::TextSelectableByMouse);

    save_ = new QPushButton(wording.keep, this);
    discard_ = new QPushButton(QStringLiteral("&Discard"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    save_->setObjectName(QStringLiteral("CloseSave"));
    discard_->setObjectName(QStringLiteral("CloseDiscard"));
    cancel_->setObjectName(QStringLiteral("CloseCancel"));
    save_->setToolTip(wording.keepTip);
    discard_->setToolTip(wording.discardTip);
    cancel_->setToolTip(wording.cancelTip);
    save_->setDefault(true);
    // Apart from the answers, at the row's other end, as a dialog's Help button stands.
    if (wording.offersReview) {
        review_ = new QPushButton(QStringLiteral("&Review..."), this);
        review_->setObjectName(QStringLiteral("CloseReview"));
        review_->setToolTip(QStringLiteral("Keep the program open and see what the saves would write"));
    }

    auto* body = new QHBoxLayout;
    body->addWidget(icon);
    body->addWidget(message, 1);
    auto* buttons = new QHBoxLayout;
    if (review_) buttons->addWidget(review_);
    buttons->addStretch(1);
    for (QPushButton* button : {save_, discard_, cancel_}) buttons->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addSpacing(style()->pixelMetric(QStyle::PM_LayoutVerticalSpacing, nullptr, this));
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    message->setMinimumWidth(message->fontMetrics().averageCharWidth() * 50);

    const auto answerWith = [this](CloseAnswer answer) {
        return [this, answer] {
            answer_ = answer;
            done(answer == CloseAnswer::Cancel ? QDialog::Rejected : QDialog::Accepted);
        };
    };
    connect(save_, &QPushButton::clicked, this, answerWith(CloseAnswer::Save));
    connect(discard_, &QPushButton::clicked, this, answerWith(CloseAnswer::Discard));
    connect(cancel_, &QPushButton::clicked, this, answerWith(CloseAnswer::Cancel));
    // Made after Cancel: Tab goes round Save, Discard, Cancel, Review..., the row read
    // round from its left end, and Shift+Tab from Save to Review....
    if (review_) connect(review_, &QPushButton::clicked, this, answerWith(CloseAnswer::Review));
    // Escape and the window's close button reject the box: the answer stays Cancel.
    save_->setFocus();
}

QPushButton* CloseQuestionBox::button(CloseAnswer which) const {
    switch (which) {
    case CloseAnswer::Save: return save_;
    case CloseAnswer::Discard: return discard_;
    case CloseAnswer::Cancel: return cancel_;
    case CloseAnswer::Review: return review_;
    }
    return nullptr;
}
