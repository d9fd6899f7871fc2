#pragma once
// The " Face Dir  " keypad of the add-location dialog: nine round buttons without
// captions, three rows of three, each a facing direction laid out as on a numeric
// keypad (7 8 9 / 4 -1 6 / 1 2 3).

#include <array>
#include <cstdint>

#include <QGroupBox>

class QAbstractButton;
class QButtonGroup;

// Direction of RadioButton1..9, row by row from the top left.
inline constexpr std::array<int, 9> kKeypadDirections = {7, 8, 9, 4, -1, 6, 1, 2, 3};

class DirectionKeypad final : public QGroupBox {
    Q_OBJECT
public:
    explicit DirectionKeypad(QWidget* parent);

    // `facedir`: the direction the next spot gets. It starts at -1, as the centre
    // button starts chosen.
    std::int32_t direction() const { return direction_; }
    // A click of button 1..9.
    void choose(int button);
    // Shows a stored direction: its button when it has one, else no button.
    void showDirection(std::int32_t dir);
    QButtonGroup* buttons() const { return group_; }

private:
    QButtonGroup* group_ = nullptr;
    std::int32_t direction_ = -1;
};
