#include "DialogParts.h"

#include <QLabel>
#include <QToolButton>

#include "Colours.h"
#include "LazyIcon.h"
#include "SpinField.h"

QLabel* makeLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLabel* makeRowLabel(QWidget* parent, const QString& text, int x, int y) {
    QLabel* label = makeLabel(parent, text, x, y);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label->resize(label->width(), 21);
    return label;
}

void useFieldColour(QWidget* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, kStripColour);
    palette.setColor(QPalette::Button, kStripColour);
    field->setPalette(palette);
}

SpinField* makeSpin(QWidget* parent, const char* name, const QLabel* caption, int minValue, int maxValue,
                    int initial, QRect geometry) {
    auto* spin = new SpinField(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setAccessibleName(caption->text().remove(QLatin1Char(':')));
    spin->setBounds(minValue, maxValue);
    spin->setValue(initial);
    spin->setGeometry(geometry);
    useFieldColour(spin);
    return spin;
}

QToolButton* makeGlyphButton(QWidget* parent, const char* name, QStyle::StandardPixmap glyph, const char* hint,
                             const char* accessibleName, QPoint at) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(QString::fromLatin1(accessibleName));
    button->setIcon(lazyStandardIcon(glyph));
    button->setToolTip(QString::fromLatin1(hint));
    button->setAutoRaise(true);
    button->setGeometry(QRect(at, QSize(23, 22)));
    return button;
}
