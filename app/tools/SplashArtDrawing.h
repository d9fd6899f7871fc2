#pragma once
// Draws the splash window's artwork: a parchment map with spawn marks and the
// "Varnex" lettering. Needs a QGuiApplication (for the fonts).

#include <QImage>

#include "SplashArt.h"

QImage drawSplashArt();  // kSplashArtWidth by kSplashArtHeight, RGB32
