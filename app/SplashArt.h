#pragma once
// The splash window's artwork, drawn by the program itself: a parchment map with
// spawn marks and the "Varnex" lettering.

#include <QPixmap>

inline constexpr int kSplashArtWidth = 479;
inline constexpr int kSplashArtHeight = 316;

QPixmap drawSplashArt();
