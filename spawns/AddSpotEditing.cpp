// The add-location dialog opened on a spot: filled with its values, following it as the
// document changes it, and "Apply".

#include "AddSpotDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSignalBlocker>
#include <QTimer>

#include "ByteText.h"
#include "DirectionKeypad.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "MapPreviewWindow.h"
#include "MessageBoxes.h"
#include "Numbers.h"
#include "PlacePages.h"
#include "SpinField.h"

namespace {

// The number fields that show a spot of this kind, each with the value it shows and
// the name a message gives it.
struct ShownValue {
    SpinField* field;
    int value;
    const char* name;
};

}  // namespace

void AddSpotDialog::editSpot(std::int32_t spotid) {
    reportErrors(this, [&] {
        const SpawnEntry* live = document_.spawns().liveSpot(spotid);
        if (!live) return;
        const SpawnEntry spot = *live;
        if (!isVisible()) fillMonsterCombo();
        editedSpot_ = spotid;
        editedSpotLive_ = true;
        fillFromSpot(spot, false);
        showEditState();
        // Showing runs the page's step, which must leave the spot's type as it is.
        keepSpotAsIs_ = true;
        const auto rulesBack = qScopeGuard([this] { keepSpotAsIs_ = false; });
        show();
        unfold();
        activateWindow();
    });
}

void AddSpotDialog::stopEditing() {
    editedSpot_ = -1;
    editedSpotLive_ = false;
    filled_.clear();
    valuesOutOfBounds_.clear();
    showEditState();
}

bool AddSpotDialog::untouched(const QObject* control, int shown) const {
    const auto filled = filled_.find(control);
    return filled == filled_.end() || filled->second == shown;
}

// The spot type and the page follow the spot, not the rules that choosing a monster
// applies. A point's second corner and count mean nothing: the count field keeps what
// it holds.
void AddSpotDialog::fillFromSpot(const SpawnEntry& spot, bool following) {
    keepSpotAsIs_ = true;
    const auto rulesBack = qScopeGuard([this] { keepSpotAsIs_ = false; });
    if (!following) filled_.clear();
    const auto mayPut = [&](const QObject* control, int shown) { return !following || untouched(control, shown); };
    const QWidget* pageBefore = places_->currentWidget();
    {
        const QSignalBlocker quietTypes(spotTypeGroup_);
        const QSignalBlocker quietPages(places_);
        if (mayPut(monsterCombo_, monsterCombo_->currentText().toInt())) {
            monsterCombo_->setCurrentIndex(document_.monsters().indexOf(spot.monsterid));
            showMonsterRecord();
        }
        filled_[monsterCombo_] = spot.monsterid;
        if (mayPut(spotTypeGroup_, spotType())) {
            if (QAbstractButton* type = spotTypeGroup_->button(spot.spottype)) type->setChecked(true);
            places_->setCurrentWidget(spot.ispoint ? places_->pointPage() : places_->rangePage());
        }
        filled_[spotTypeGroup_] = spot.spottype;
    }
    // A spot that became a point or a range has the preview pick the place its new way.
    if (following && places_->currentWidget() != pageBefore) runShownPageStep();
    if (mayPut(keypad_, keypad_->direction())) keypad_->showDirection(spot.dir);
    filled_[keypad_] = spot.dir;

    const int mapBefore = mapField_->value();
    const auto put = [&](SpinField* field, int value) {
        if (mayPut(field, field->value())) field->setValue(value);
        filled_[field] = field->bounded(value);
    };
    {
        // A follow runs inside the document's change: the preview's picture is loaded
        // once the change is done, not in the middle of it.
        const QSignalBlocker quietMap(following ? mapField_ : nullptr);
        put(mapField_, spot.mapnumber);
    }
    if (following && mapField_->value() != mapBefore) QTimer::singleShot(0, this, &AddSpotDialog::mapNumberChanged);
    put(distanceField_, spot.distance);
    const PlacePages& p = *places_;
    if (spot.ispoint) {
        put(p.centerX(), spot.x0);
        put(p.centerY(), spot.y0);
    } else {
        {
            const QSignalBlocker quietX0(p.x0()), quietY0(p.y0()), quietX1(p.x1()), quietY1(p.y1());
            put(p.x0(), spot.x0);
            put(p.y0(), spot.y0);
            put(p.x1(), spot.x1);
            put(p.y1(), spot.y1);
        }
        put(p.count(), spot.count);
        if (preview_) preview_->setSelectedCells(p.x0()->value(), p.y0()->value(), p.x1()->value(), p.y1()->value());
    }
    noteValuesOutOfBounds(spot);
}

// A field the operator has not changed that cannot show the spot's value (the place
// fields stop at 2 and 250, the map at 250) would write another value with "Apply":
// the operator is asked first.
void AddSpotDialog::noteValuesOutOfBounds(const SpawnEntry& spot) {
    const PlacePages& p = *places_;
    std::vector<ShownValue> shown{{mapField_, spot.mapnumber, "map"}, {distanceField_, spot.distance, "distance"}};
    if (spot.ispoint) {
        shown.insert(shown.end(), {{p.centerX(), spot.x0, "x"}, {p.centerY(), spot.y0, "y"}});
    } else {
        shown.insert(shown.end(), {{p.x0(), spot.x0, "x0"}, {p.y0(), spot.y0, "y0"}, {p.x1(), spot.x1, "x1"},
                                   {p.y1(), spot.y1, "y1"}, {p.count(), spot.count, "count"}});
    }
    valuesOutOfBounds_.clear();
    for (const ShownValue& s : shown) {
        const int showing = s.field->value();
        if (showing != s.value && untouched(s.field, showing))
            valuesOutOfBounds_ << QStringLiteral("%1 %2 becomes %3").arg(QLatin1String(s.name)).arg(s.value).arg(showing);
    }
}

void AddSpotDialog::editedSpotChanged(const SpawnEntry& spot) {
    reportErrors(this, [&] {
        editedSpotLive_ = true;
        fillFromSpot(spot, true);
        showEditState();
    });
}

void AddSpotDialog::editedSpotGone() {
    editedSpotLive_ = false;
    showEditState();
}

void AddSpotDialog::showEditState() {
    applyButton_->setEnabled(editedSpot_ >= 0 && editedSpotLive_);
    QString state;
    if (editedSpot_ >= 0)
        state = editedSpotLive_ ? QStringLiteral("Apply changes spot %1").arg(editedSpot_)
                                : QStringLiteral("Spot %1 was deleted: nothing to apply to").arg(editedSpot_);
    editState_->setText(state);
    applyButton_->setToolTip(state);
}

void AddSpotDialog::applyToSpot() {
    reportErrors(this, [&] {
        places_->commitTyping();
        const SpawnEntry* live = document_.spawns().liveSpot(editedSpot_);
        if (!live) {
            editedSpotGone();
            return;
        }
        const SpawnEntry& old = *live;
        SpawnEntry values = composedSpot();
        if (values.ispoint) {  // a point's second corner and count are not written: they stay
            values.x1 = old.x1;
            values.y1 = old.y1;
            values.count = old.count;
        }
        if (!valuesOutOfBounds_.isEmpty() &&
            !messageBoxes().question(this, QStringLiteral("The fields could not show every value of spot %1: %2. "
                                                          "Apply these values all the same?")
                                               .arg(editedSpot_)
                                               .arg(valuesOutOfBounds_.join(QStringLiteral(", ")))))
            return;
        document_.changeSpot(editedSpot_, values, QStringLiteral("change"));
    });
}
