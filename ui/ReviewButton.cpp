#include "ReviewButton.h"

#include <QStyle>
#include <QToolButton>

#include "LazyIcon.h"
#include "ProgramKeys.h"

QToolButton* makeReviewButton(QWidget* parent, const char* objectName) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(objectName));
    button->setAccessibleName(QStringLiteral("Review the save"));
    button->setToolTip(withKeys(QStringLiteral("Review the save: what it would change, and its problems"),
                                KeyAction::ReviewSave));
    button->setIcon(lazyStandardIcon(QStyle::SP_FileDialogInfoView));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}
