#include "PlacePages.h"

#include <algorithm>

#include <QLabel>
#include <QSignalBlocker>
#include <QTabBar>
#include <QToolButton>

#include "DialogParts.h"
#include "MapPreviewWindow.h"
#include "SpinField.h"

PlacePages::PlacePages(QWidget* parent) : QTabWidget(parent) {
    setObjectName(QStringLiteral("PageControl1"));
    setDocumentMode(true);
    // Made inside the dialog, so that their captions are measured in its font.
    pointPage_ = new QWidget(this);
    pointPage_->setObjectName(QStringLiteral("TabSheet1"));
    const QLabel* centerX = makeLabel(pointPage_, QStringLiteral("Center X"), 4, 7);
    centerX_ = makeSpin(pointPage_, "SpinEditX", centerX, 2, 250, 127, {58, 4, 60, 21});
    const QLabel* centerY = makeLabel(pointPage_, QStringLiteral("Center Y"), 4, 31);
    centerY_ = makeSpin(pointPage_, "SpinEditY", centerY, 2, 250, 127, {58, 28, 60, 21});
    showPoint_ = makeGlyphButton(pointPage_, "SpeedButton9", QStyle::SP_FileDialogContentsView,
                                 "Show Map and this location", "Show map and this location", {4, 56});
    readPoint_ = makeGlyphButton(pointPage_, "SpeedButton5", QStyle::SP_ArrowDown, "Read X,Y from Map Window",
                                 "Read X,Y from map window", {30, 56});
    addTab(pointPage_, QStringLiteral("Point Spot"));

    rangePage_ = new QWidget(this);
    rangePage_->setObjectName(QStringLiteral("TabSheet2"));
    const QLabel* x0 = makeLabel(rangePage_, QStringLiteral("X0"), 4, 7);
    x0_ = makeSpin(rangePage_, "SpinX0", x0, 2, 250, 127, {22, 4, 52, 21});
    const QLabel* x1 = makeLabel(rangePage_, QStringLiteral("X1"), 80, 7);
    x1_ = makeSpin(rangePage_, "SpinX1", x1, 2, 250, 128, {98, 4, 52, 21});
    const QLabel* y0 = makeLabel(rangePage_, QStringLiteral("Y0"), 4, 31);
    y0_ = makeSpin(rangePage_, "SpinY0", y0, 2, 250, 127, {22, 28, 52, 21});
    const QLabel* y1 = makeLabel(rangePage_, QStringLiteral("Y1"), 80, 31);
    y1_ = makeSpin(rangePage_, "SpinY1", y1, 2, 250, 128, {98, 28, 52, 21});
    const QLabel* countCaption = makeLabel(rangePage_, QStringLiteral("MonsterCount"), 60, 60);
    count_ = makeSpin(rangePage_, "spincount", countCaption, 1, 255, 5,
                      {countCaption->geometry().right() + 4, 56, 56, 21});
    showRange_ = makeGlyphButton(rangePage_, "SpeedButton2", QStyle::SP_FileDialogContentsView,
                                 "Show Map and this location", "Show map and this location", {4, 56});
    readRange_ = makeGlyphButton(rangePage_, "SpeedButton3", QStyle::SP_ArrowDown,
                                 "Read X0,Y0,X1,Y1 from Map Window", "Read X0,Y0,X1,Y1 from map window", {30, 56});
    addTab(rangePage_, QStringLiteral("Range Spot"));
    setCurrentIndex(0);

    for (SpinField* field : {centerX_, centerY_}) connect(field, &SpinField::changed, this, &PlacePages::pointChanged);
    for (SpinField* field : {x0_, y0_, x1_, y1_}) {
        connect(field, &SpinField::changed, this, &PlacePages::rangeChanged);
        connect(field, &SpinField::committed, this, [this, field] { keepCornersInOrder(field); });
    }
    for (QToolButton* button : {showPoint_, showRange_})
        connect(button, &QToolButton::clicked, this, &PlacePages::showMapClicked);
    connect(readPoint_, &QToolButton::clicked, this, &PlacePages::readPointClicked);
    connect(readRange_, &QToolButton::clicked, this, &PlacePages::readRangeClicked);
}

QList<QWidget*> PlacePages::tabChain() const {
    return {tabBar(), centerX_, centerY_, showPoint_, readPoint_, x0_, x1_, y0_, y1_, showRange_, readRange_, count_};
}

// The committed field keeps its number; the other corner of its pair gives way. Each
// assignment is itself a change of a corner, which the preview follows.
void PlacePages::keepCornersInOrder(SpinField* committed) {
    if (committed == x1_ && x0_->value() >= x1_->value())
        x0_->setValue(x1_->value() - 1);
    else if (committed == x0_ && x0_->value() >= x1_->value())
        x1_->setValue(x0_->value() + 1);
    if (committed == y1_ && y0_->value() >= y1_->value())
        y0_->setValue(y1_->value() - 1);
    else if (committed == y0_ && y0_->value() >= y1_->value())
        y1_->setValue(y0_->value() + 1);
}

void PlacePages::commitTyping() {
    for (SpinField* field : {centerX_, centerY_, x0_, y0_, x1_, y1_, count_}) field->commit();
}

void PlacePages::readPoint(const MapSelection& picked) {
    const QSignalBlocker quietX(centerX_);
    const QSignalBlocker quietY(centerY_);
    centerX_->setValue(picked.selx0);
    centerY_->setValue(picked.sely0);
}

void PlacePages::readRange(const MapSelection& picked) {
    const QSignalBlocker quietX0(x0_), quietY0(y0_), quietX1(x1_), quietY1(y1_);
    x0_->setValue(std::min(picked.selx0, picked.selx1));
    x1_->setValue(std::max(picked.selx0, picked.selx1));
    y0_->setValue(std::min(picked.sely0, picked.sely1));
    y1_->setValue(std::max(picked.sely0, picked.sely1));
}
