#include "ChangeCellsDialog.h"

#include <algorithm>
#include <vector>

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include "DesignPalette.h"
#include "ErrorReport.h"
#include "SpinField.h"
#include "TabChain.h"

std::optional<long long> percentHundredths(const QString& typed) {
    static const QRegularExpression kPercent(QStringLiteral("^([+-]?)(\\d{1,9})(?:[.,](\\d{0,2}))?$"));
    const QRegularExpressionMatch match = kPercent.match(typed.trimmed().remove(QLatin1Char('%')).trimmed());
    if (!match.hasMatch()) return std::nullopt;
    const QString decimals = match.captured(3).leftJustified(2, QLatin1Char('0'));
    const long long hundredths = match.captured(2).toLongLong() * 100 + decimals.toLongLong();
    if (hundredths > kLargestPercentHundredths) return std::nullopt;
    return match.captured(1) == QLatin1String("-") ? -hundredths : hundredths;
}

QString rewrittenValuesText(const EditPlan& plan) {
    struct Group {
        int field;
        long long from;
        int monsters;
    };
    std::vector<Group> groups;
    for (const FieldEdit& value : plan.rewritten) {
        const auto same = std::find_if(groups.begin(), groups.end(), [&](const Group& group) {
            return group.field == value.field && group.from == value.value;
        });
        if (same != groups.end())
            ++same->monsters;
        else
            groups.push_back({value.field, value.value, 1});
    }
    QStringList named;
    for (const Group& group : groups) {
        if (named.size() == kNamedRewrites) break;
        const MonsterField& field = kMonsterFields[static_cast<std::size_t>(group.field)];
        named << QStringLiteral("%1 from %2 to %3 (%4)")
                     .arg(QString::fromLatin1(field.columnName))
                     .arg(group.from)
                     .arg(clampToField(field, group.from))
                     .arg(group.monsters == 1 ? QStringLiteral("1 monster") : QStringLiteral("%1 monsters").arg(group.monsters));
    }
    QString text = named.join(QStringLiteral(", "));
    if (const auto more = static_cast<qsizetype>(groups.size()) - named.size(); more > 0)
        text += QStringLiteral(" and %1 %2").arg(more).arg(more == 1 ? "other" : "others");
    return text;
}

ChangeCellsDialog::ChangeCellsDialog(const QString& cells, Preview preview, QWidget* parent)
    : QDialog(parent), preview_(std::move(preview)) {
    setObjectName(QStringLiteral("ChangeCellsDialog"));
    setWindowTitle(QStringLiteral("Change %1").arg(cells));
    // The windows' own palette, as the window that opens it has, whatever the desktop's;
    // above the windows that stay above the others.
    setPalette(designPalette());
    setWindowFlag(Qt::WindowStaysOnTopHint);

    auto* kinds = new QGridLayout;
    kinds_ = new QButtonGroup(this);
    const struct {
        ValueChangeKind kind;
        const char* caption;
        const char* name;
    } choices[] = {{ValueChangeKind::Set, "&Set to", "ChangeSet"},
                   {ValueChangeKind::Add, "&Add", "ChangeAdd"},
                   {ValueChangeKind::Multiply, "&Multiply by", "ChangeMultiply"}};
    int row = 0;
    for (const auto& choice : choices) {
        auto* button = new QRadioButton(QString::fromLatin1(choice.caption), this);
        button->setPalette(indicatorPalette());
        button->setObjectName(QString::fromLatin1(choice.name));
        kinds_->addButton(button, static_cast<int>(choice.kind));
        kinds->addWidget(button, row++, 0);
    }
    kinds_->button(static_cast<int>(ValueChangeKind::Multiply))->setChecked(true);
    tabToCheckedButton(kinds_);
    amount_ = new QLineEdit(this);
    amount_->setObjectName(QStringLiteral("ChangeAmount"));
    amount_->setAccessibleName(QStringLiteral("Amount"));
    amount_->setText(QStringLiteral("100"));
    unit_ = new QLabel(this);
    kinds->addWidget(amount_, 0, 1, 3, 1, Qt::AlignVCenter);
    kinds->addWidget(unit_, 0, 2, 3, 1, Qt::AlignVCenter);

    previewLabel_ = new QLabel(this);
    previewLabel_->setObjectName(QStringLiteral("ChangePreview"));
    previewLabel_->setWordWrap(true);
    previewLabel_->setMinimumWidth(380);

    auto* buttons = new QDialogButtonBox(this);
    apply_ = buttons->addButton(QStringLiteral("Apply"), QDialogButtonBox::AcceptRole);
    apply_->setObjectName(QStringLiteral("ChangeApply"));
    buttons->addButton(QDialogButtonBox::Cancel);

    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QStringLiteral("Change %1:").arg(cells), this));
    column->addLayout(kinds);
    column->addWidget(previewLabel_);
    column->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(kinds_, &QButtonGroup::idClicked, this, &ChangeCellsDialog::updatePreview);
    connect(amount_, &QLineEdit::textChanged, this, &ChangeCellsDialog::updatePreview);
    updatePreview();
    amount_->selectAll();
    amount_->setFocus();
}

void ChangeCellsDialog::setKind(ValueChangeKind kind) {
    kinds_->button(static_cast<int>(kind))->setChecked(true);
    updatePreview();
}

ValueChangeKind ChangeCellsDialog::kind() const { return static_cast<ValueChangeKind>(kinds_->checkedId()); }

std::optional<ValueChange> ChangeCellsDialog::change() const {
    if (kind() == ValueChangeKind::Multiply) {
        const auto hundredths = percentHundredths(amount_->text());
        if (!hundredths) return std::nullopt;
        return ValueChange{ValueChangeKind::Multiply, *hundredths};
    }
    const auto value = SpinField::parseWhole(amount_->text().trimmed());
    if (!value) return std::nullopt;
    return ValueChange{kind(), *value};
}

QString ChangeCellsDialog::previewText() const { return previewLabel_->text(); }

void ChangeCellsDialog::updatePreview() {
    reportErrors(this, [&] {
        unit_->setText(kind() == ValueChangeKind::Multiply ? QStringLiteral("%") : QString());
        const auto asked = change();
        apply_->setEnabled(asked.has_value());
        if (!asked) {
            previewLabel_->setText(kind() == ValueChangeKind::Multiply
                                       ? QStringLiteral("Type a percentage, such as 120 or 87.5.")
                                       : QStringLiteral("Type a whole number."));
            return;
        }
        const EditPlan plan = preview_(*asked);
        QString text = QStringLiteral("%1 %2 change").arg(plan.changed).arg(plan.changed == 1 ? "cell would" : "cells would");
        text += plan.clamped.empty()
                    ? QStringLiteral("; no value leaves its field's bounds.")
                    : QStringLiteral("; %1 %2 pulled into the field's bounds.")
                          .arg(plan.clamped.size())
                          .arg(plan.clamped.size() == 1 ? "value is" : "values are");
        if (const auto rewritten = plan.rewritten.size(); rewritten > 0)
            text += QStringLiteral(" Their lines are written anew with every value in its field's bounds, so %1 "
                                   "more %2 change: %3.")
                        .arg(rewritten)
                        .arg(rewritten == 1 ? "value would" : "values would", rewrittenValuesText(plan));
        if (const auto left = plan.unreadable.size(); left > 0)
            text += QStringLiteral(" %1 %2 of lines that cannot be read in full %3 as they are.")
                        .arg(left)
                        .arg(left == 1 ? "cell" : "cells", left == 1 ? "stays" : "stay");
        previewLabel_->setText(text);
        fitPreview();
    });
}

// The preview's lines grow with what it names: the dialog grows with them, at its width.
void ChangeCellsDialog::fitPreview() {
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width()) : sizeHint().height();
    if (needed > height()) resize(width(), needed);
}
