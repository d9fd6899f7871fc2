#pragma once
// "Change...": sets the selected cells to a value, adds a value to them, or multiplies
// them by a percentage, and before anything changes says how many cells the change
// would change, how many of those would be pulled into their field's bounds, and which
// other values of the changed monsters' lines are pulled into theirs as the lines are
// written anew.

#include <functional>
#include <optional>

#include <QDialog>

#include "MonsterEdits.h"

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

// A percentage as typed ("120", "-12.5", "7,25"): in hundredths of a percent, at most
// two decimals, within kLargestPercentHundredths. Nothing when it is not one.
std::optional<long long> percentHundredths(const QString& text);

// The values a plan's rewritten lines pull into their bounds, by field and value:
// "moveSpeed from 0 to 1 (3 monsters), LVL from 0 to 1 (1 monster)"; past the first
// kNamedRewrites such groups the rest are counted ("... and 2 others"). Empty when
// there are none.
inline constexpr int kNamedRewrites = 4;
QString rewrittenValuesText(const EditPlan& plan);

class ChangeCellsDialog final : public QDialog {
    Q_OBJECT
public:
    // What the change would do to the selected cells, worked out afresh as it is typed.
    using Preview = std::function<EditPlan(const ValueChange& change)>;
    // `cells` names what is changed ("37 cells of HP").
    ChangeCellsDialog(const QString& cells, Preview preview, QWidget* parent);

    void setKind(ValueChangeKind kind);
    ValueChangeKind kind() const;
    QLineEdit* amountField() const { return amount_; }
    // The change the fields describe; nothing while the amount is not a number.
    std::optional<ValueChange> change() const;
    QString previewText() const;
    QPushButton* applyButton() const { return apply_; }

private:
    void updatePreview();
    void fitPreview();

    Preview preview_;
    QButtonGroup* kinds_ = nullptr;
    QLineEdit* amount_ = nullptr;
    QLabel* unit_ = nullptr;
    QLabel* previewLabel_ = nullptr;
    QPushButton* apply_ = nullptr;
};
