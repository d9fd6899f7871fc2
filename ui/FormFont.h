#pragma once
// The windows' design font: a small sans serif, 8 point at 96 dpi. Where the
// designed family is missing, narrow fallbacks keep the captions inside their places.

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

// The families, in the order of choice.
inline QStringList formFontFamilies() {
    return {QStringLiteral("MS Sans Serif"),         QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Liberation Sans Narrow"), QStringLiteral("Liberation Sans"),
            QStringLiteral("DejaVu Sans Condensed"),  QStringLiteral("Sans Serif")};
}

inline QFont formFont() {
    // Looked up once for the run, not for every window.
    static const QFont design = [] {
        // The font is handed only the first of the families the system has, the one it
        // would come to anyway: for each family it misses, the toolkit asks the system
        // for its whole list of fallback fonts, which costs more than loading the face.
        // Where none is there by name, it is handed them all.
        const QStringList wanted = formFontFamilies();
        const QStringList installed = QFontDatabase::families();
        QStringList families = wanted;
        for (const QString& family : wanted) {
            if (!installed.contains(family, Qt::CaseInsensitive)) continue;
            families = {family};
            break;
        }
        QFont font;
        font.setFamilies(families);
        font.setPixelSize(11);
        // The family found does not depend on the stretch, so it is looked up on the
        // condensed font, the one the windows then use in most places.
        QFont condensed = font;
        condensed.setStretch(QFont::Condensed);
        const QString found = QFontInfo(condensed).family();
        const bool narrow = found.contains(QStringLiteral("MS Sans Serif")) || found.contains(QStringLiteral("Narrow"));
        return narrow ? font : condensed;
    }();
    return design;
}
