#include "FittedMessage.h"

QString fittedMessage(QStringView text) {
    QString fitted;
    int lines = 1;
    qsizetype run = 0;  // characters since the last place the box may break the line
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (fitted.size() >= kMessageCharacters || (c == u'\n' && lines == kMessageLines)) {
            if (!fitted.isEmpty() && fitted.back().isHighSurrogate()) fitted.chop(1);
            return fitted + QChar(0x2026);
        }
        if (c == u'\n') {
            ++lines;
            run = 0;
        } else if (c.isSpace()) {
            run = 0;
        } else if (++run > kUnbrokenRun && !c.isLowSurrogate()) {
            fitted += QChar(0x200B);
            run = 1;
        }
        fitted += c;
    }
    return fitted;
}
