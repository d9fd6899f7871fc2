#pragma once
// The windows' own palette: the design's colours with text colours that go with them.
// The design fixes its backgrounds (light beige bodies, grey strips and fields), so a
// desktop's dark palette would put light text on them; every window takes this palette
// instead, whatever the desktop's. Message boxes and tooltips, which are windows of
// their own, keep the desktop's.

#include <QPalette>

QPalette designPalette();

// The design palette for a radio button: the style draws its ring a shade darker than
// the palette's window colour, which on the design's light body would leave an
// unselected button's ring under 3:1 against its white fill and the body around it.
QPalette indicatorPalette();
