#pragma once
// The splash window's artwork, drawn by the program's own code when it is built
// (app/tools/SplashArtDrawing.cpp: a parchment map with spawn marks and the "Varnex"
// lettering) and carried as finished pixels.

#include <cstdint>

#include <QPixmap>

inline constexpr int kSplashArtWidth = 479;
inline constexpr int kSplashArtHeight = 316;

// Opaque pixels, 0xffRRGGBB, row by row from the top.
extern const std::uint32_t kSplashArtPixels[kSplashArtWidth * kSplashArtHeight];

// The artwork over the carried pixels, which it shares rather than copies.
QPixmap splashArt();
