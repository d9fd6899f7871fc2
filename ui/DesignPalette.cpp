#include "DesignPalette.h"

#include "Colours.h"

// The toolkit's own light palette (what it draws with when no desktop theme gives one),
// with the design's body colour. Built here, as the style's standard palette follows
// the desktop's theme. Every role of every group is set, the disabled ones included,
// so that no control takes a colour of the desktop's theme from the application's
// palette, enabled or not.
QPalette designPalette() {
    const QColor background(239, 239, 239);
    const QColor light = background.lighter(150);
    const QColor mid = background.darker(130);
    const QColor dark = background.darker(150);
    const QColor shadow = dark.darker(135);
    // Disabled text stays readable, at least 3:1 on the bodies, the buttons and the
    // fields, and still lighter than enabled text.
    const QColor disabledText(100, 100, 100);
    // The selection's white text reads 4.9:1 on it (the toolkit's own blue gives 3.7:1).
    const QColor highlight(38, 118, 172);
    QColor placeholder(Qt::black);
    placeholder.setAlpha(128);
    QPalette palette;
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool disabled = group == QPalette::Disabled;
        const QColor text = disabled ? disabledText : QColor(Qt::black);
        palette.setColor(group, QPalette::WindowText, text);
        palette.setColor(group, QPalette::Text, text);
        palette.setColor(group, QPalette::ButtonText, text);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::Window, kFormColour);
        palette.setColor(group, QPalette::Button, background);
        palette.setColor(group, QPalette::Base, disabled ? background : QColor(Qt::white));
        palette.setColor(group, QPalette::AlternateBase, background);
        palette.setColor(group, QPalette::Light, light);
        palette.setColor(group, QPalette::Midlight, mid.lighter(110));
        palette.setColor(group, QPalette::Mid, mid);
        palette.setColor(group, QPalette::Dark, disabled ? QColor(209, 209, 209).darker(110) : dark);
        palette.setColor(group, QPalette::Shadow, disabled ? shadow.lighter(150) : shadow);
        palette.setColor(group, QPalette::Highlight, disabled ? QColor(145, 145, 145) : highlight);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::PlaceholderText, placeholder);
        palette.setColor(group, QPalette::Link, QColor(0, 0, 255));
        palette.setColor(group, QPalette::LinkVisited, QColor(255, 0, 255));
        palette.setColor(group, QPalette::ToolTipBase, QColor(255, 255, 220));
        palette.setColor(group, QPalette::ToolTipText, Qt::black);
        palette.setColor(group, QPalette::NoRole, Qt::transparent);
    }
    return palette;
}

QPalette indicatorPalette() {
    QPalette palette = designPalette();
    const QColor ringBase(168, 168, 168);  // a ring of (120, 120, 120): 4.4:1 on white, 3.2:1 on the body
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Window, ringBase);
    return palette;
}
