#include "DirectionKeypad.h"

#include <algorithm>

#include <QButtonGroup>
#include <QRadioButton>
#include <QSignalBlocker>

#include "DesignPalette.h"

namespace {

// The buttons have no captions; their accessible names say where each lies.
constexpr std::array<const char*, 9> kKeypadPlaces = {
    "up left", "up", "up right", "left", "centre", "right", "down left", "down", "down right",
};

}  // namespace

DirectionKeypad::DirectionKeypad(QWidget* parent) : QGroupBox(QStringLiteral(" Face Dir  "), parent) {
    setObjectName(QStringLiteral("GroupBox1"));
    group_ = new QButtonGroup(this);
    for (int i = 0; i < 9; ++i) {
        auto* key = new QRadioButton(this);
        key->setObjectName(QStringLiteral("RadioButton%1").arg(i + 1));
        key->setAccessibleName(QStringLiteral("Face Dir %1, %2")
                                   .arg(kKeypadDirections[i])
                                   .arg(QString::fromLatin1(kKeypadPlaces[i])));
        key->setGeometry(10 + (i % 3) * 22, 20 + (i / 3) * 23, 17, 17);
        key->setPalette(indicatorPalette());
        group_->addButton(key, i + 1);
    }
    group_->button(5)->setChecked(true);
    connect(group_, &QButtonGroup::idToggled, this, [this](int button, bool checked) {
        if (checked) choose(button);
    });
}

void DirectionKeypad::choose(int button) {
    if (button >= 1 && button <= 9) direction_ = kKeypadDirections[static_cast<std::size_t>(button - 1)];
}

void DirectionKeypad::showDirection(std::int32_t dir) {
    const QSignalBlocker quiet(group_);
    const auto at = std::find(kKeypadDirections.begin(), kKeypadDirections.end(), dir);
    group_->setExclusive(false);
    for (QAbstractButton* key : group_->buttons()) key->setChecked(false);
    if (at != kKeypadDirections.end())
        group_->button(static_cast<int>(at - kKeypadDirections.begin()) + 1)->setChecked(true);
    group_->setExclusive(true);
    direction_ = dir;
}
