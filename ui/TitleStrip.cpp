#include "TitleStrip.h"

#include <QLabel>

#include "Colours.h"
#include "WindowDrag.h"

QLabel* makeTitleStrip(QWidget* window, const char* name, const QString& caption) {
    auto* strip = new QLabel(caption, window);
    strip->setObjectName(QString::fromLatin1(name));
    strip->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    strip->setFrameShape(QFrame::Panel);
    strip->setFrameShadow(QFrame::Raised);
    QFont font = strip->font();
    font.setBold(true);
    font.setPixelSize(13);
    strip->setFont(font);
    QPalette colours = strip->palette();
    colours.setColor(QPalette::Window, kStripColour);
    strip->setPalette(colours);
    strip->setAutoFillBackground(true);
    installWindowDrag(strip);
    return strip;
}
