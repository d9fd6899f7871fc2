#pragma once
// The windows' design font: a small sans serif, 8 point at 96 dpi. Where the
// designed family is missing, narrow fallbacks keep the captions inside their places.

#include <QFont>
#include <QFontInfo>
#include <QStringList>

inline QFont formFont() {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"),
                      QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
                      QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Sans Serif")});
    font.setPixelSize(11);
    // The face these families come to stays the same for the run: looked up once, not
    // for every window. The family found does not depend on the stretch, so it is
    // looked up on the condensed font, the one the windows then use in most places.
    QFont condensed = font;
    condensed.setStretch(QFont::Condensed);
    static const bool narrow = [&condensed] {
        const QString found = QFontInfo(condensed).family();
        return found.contains(QStringLiteral("MS Sans Serif")) || found.contains(QStringLiteral("Narrow"));
    }();
    return narrow ? font : condensed;
}
