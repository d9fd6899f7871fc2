#pragma once
// The small pictures of the spawn page, drawn at run time.

#include <QIcon>
#include <QPixmap>

// Each call draws afresh; callers keep what they use often.
// ImageList1: 0 = the monster has no spawn entry (grey), 1 = it has some (ladybird).
QIcon monsterIcon(bool hasSpots);
// ImageList2: 48 by 16 pictures of the spot types 0..4; a null icon for other codes.
QIcon spotTypeIcon(int spottype);
QPixmap spotTypePixmap(int spottype);
inline constexpr int kSpotTypeCount = 5;

// Glyphs of the page's picture buttons: save the spawn file, show the preview, show
// the map overview.
QIcon saveGlyph();
QIcon previewGlyph();
QIcon overviewGlyph();
