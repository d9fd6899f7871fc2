#include "BalanceWindow.h"

#include <algorithm>
#include <cmath>

#include <QCheckBox>
#include <QComboBox>
#include <QCursor>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageWriter>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QSaveFile>
#include <QShortcut>
#include <QSvgGenerator>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

#include "BalanceChartView.h"
#include "ByteText.h"
#include "DesignPalette.h"
#include "EditorDocument.h"
#include "ErrorReport.h"
#include "FormFont.h"
#include "HistoryMarks.h"
#include "ListFilter.h"
#include "MessageBoxes.h"
#include "MonsterFields.h"
#include "OutlierLineDelegate.h"
#include "ProgramKeys.h"
#include "SaveQuestion.h"

namespace {

constexpr QSize kFirstSize(1000, 620);
constexpr int kSideWidth = 360;
const QString kLockedText = QStringLiteral("Monster Stats is editing a monster: OK or Cancel there first.");
constexpr qsizetype kMostOutliersListed = 100;
constexpr int kSummaryLines = 7;

QString plural(qsizetype count, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(count).arg(QString::fromLatin1(count == 1 ? one : many));
}

// A number with as many digits as tell it: 671, 0.0405. One edit among thousands of
// monsters changes no digit of it, so the summary is not laid out again for it.
QString shortNumber(double value) { return QString::number(value, 'g', 3); }

}  // namespace

BalanceWindow::BalanceWindow(EditorDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document) {
    setObjectName(QStringLiteral("BalanceWindow"));
    setPalette(designPalette());
    setFont(formFont());
    replotTimer_ = new QTimer(this);
    replotTimer_->setSingleShot(true);
    replotTimer_->setInterval(0);
    connect(replotTimer_, &QTimer::timeout, this, [this] { reportErrors(this, [&] { replot(); }); });

    buildControls();
    resize(kFirstSize);

    // Every stored monster is read again, and the chart drawn once for a step of many.
    connect(&document_, &EditorDocument::monsterStored, this, [this](int monster) {
        rows_.reread(document_.monsters(), monster);
        replotSoon();
    });
    installSaveKey(this, [this] {
        reportErrors(this, [&] { document_.save(TableFile::Monsters, askBeforeOverwrite(this)); });
    });
    connect(makeShortcut(this, KeyAction::CloseWindow), &QShortcut::activated, this,
            [this] { reportErrors(this, [&] { hide(); }); });
    readAllRows();
}

BalanceWindow::~BalanceWindow() = default;

void BalanceWindow::buildControls() {
    view_ = new BalanceChartView(this);

    columnBox_ = new QComboBox(this);
    columnBox_->setObjectName(QStringLiteral("BalanceColumn"));
    columnBox_->setAccessibleName(QStringLiteral("Column"));
    for (const int field : chartableFields())
        columnBox_->addItem(QString::fromLatin1(kMonsterFields[static_cast<std::size_t>(field)].columnName), field);
    auto* columnLabel = new QLabel(QStringLiteral("&Column:"), this);
    columnLabel->setBuddy(columnBox_);
    logBox_ = new QCheckBox(QStringLiteral("&Logarithmic scale"), this);
    logBox_->setObjectName(QStringLiteral("BalanceLogarithmic"));
    logBox_->setChecked(logarithmic_);
    nonCombatBox_ = new QCheckBox(QStringLiteral("Leave out &non-combat characters"), this);
    nonCombatBox_->setObjectName(QStringLiteral("BalanceLeaveOutNonCombat"));
    nonCombatBox_->setToolTip(
        QStringLiteral("Monsters that neither move nor fight: move range \"Cant Move\" and no damage "
                       "(DmgMin and DmgMax 0 or 1)"));
    summary_ = new SummaryText(this);
    summary_->setObjectName(QStringLiteral("BalanceSummary"));
    outlierList_ = new QListWidget(this);
    outlierList_->setObjectName(QStringLiteral("BalanceOutliers"));
    outlierList_->setAccessibleName(QStringLiteral("Outliers"));
    // One line each, all of one height: a list of wrapped lines is laid out again, every
    // line of it, whenever an edit changes one (the whole line is its tooltip).
    outlierList_->setUniformItemSizes(true);
    outlierList_->setWordWrap(false);
    outlierList_->setTextElideMode(Qt::ElideNone);
    outlierList_->setItemDelegate(new OutlierLineDelegate(outlierList_));
    auto* outliersLabel = new QLabel(QStringLiteral("&Outliers, furthest first:"), this);
    outliersLabel->setBuddy(outlierList_);
    trendButton_ = new QPushButton(QStringLiteral("Set to the &trend"), this);
    trendButton_->setObjectName(QStringLiteral("BalanceSetToTrend"));
    trendButton_->setToolTip(QStringLiteral("Set the column of the selected monsters to the trend's value at their level"));
    pictureButton_ = new QPushButton(QStringLiteral("Save &Picture..."), this);
    pictureButton_->setObjectName(QStringLiteral("BalanceSavePicture"));
    pictureButton_->setToolTip(QStringLiteral("Save the chart as a PNG picture or an SVG drawing"));
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("BalanceStatus"));
    status_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    status_->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* side = new QVBoxLayout;
    auto* columnRow = new QHBoxLayout;
    columnRow->addWidget(columnLabel);
    columnRow->addWidget(columnBox_, 1);
    side->addLayout(columnRow);
    side->addWidget(logBox_);
    side->addWidget(nonCombatBox_);
    side->addWidget(summary_);
    side->addWidget(outliersLabel);
    side->addWidget(outlierList_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(trendButton_);
    buttons->addWidget(pictureButton_);
    side->addLayout(buttons);
    auto* sidePanel = new QWidget(this);
    sidePanel->setLayout(side);
    sidePanel->setFixedWidth(kSideWidth);
    side->setContentsMargins(0, 0, 0, 0);

    auto* body = new QHBoxLayout;
    body->addWidget(view_, 1);
    body->addWidget(sidePanel);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(6, 6, 6, 4);
    column->addLayout(body, 1);
    column->addWidget(status_);
    setTabOrder(columnBox_, logBox_);
    setTabOrder(logBox_, nonCombatBox_);
    setTabOrder(nonCombatBox_, outlierList_);
    setTabOrder(outlierList_, trendButton_);
    setTabOrder(trendButton_, pictureButton_);
    setTabOrder(pictureButton_, view_);

    connect(columnBox_, &QComboBox::currentIndexChanged, this, [this](int index) {
        reportErrors(this, [&] {
            if (index >= 0) showField(columnBox_->itemData(index).toInt());
        });
    });
    connect(logBox_, &QCheckBox::toggled, this, [this](bool on) { reportErrors(this, [&] { setLogarithmic(on); }); });
    connect(nonCombatBox_, &QCheckBox::toggled, this,
            [this](bool on) { reportErrors(this, [&] { setLeavingOutNonCombat(on); }); });
    connect(trendButton_, &QPushButton::clicked, this, &BalanceWindow::setSelectedToTrend);
    connect(pictureButton_, &QPushButton::clicked, this, &BalanceWindow::askAndSavePicture);
    // A line of the list, clicked or chosen with Enter, chooses its monster.
    const auto chooseListed = [this](QListWidgetItem* item) {
        reportErrors(this, [&] {
            const int line = outlierList_->row(item);
            if (line < 0 || line >= static_cast<int>(listedMonsters_.size())) return;
            const int monster = listedMonsters_[static_cast<std::size_t>(line)];
            chooseMonsters({monster});
            emit monsterClicked(monster);
        });
    };
    connect(outlierList_, &QListWidget::itemClicked, this, chooseListed);
    connect(outlierList_, &QListWidget::itemActivated, this, chooseListed);
    connect(view_, &BalanceChartView::hovered, this, [this](int monster) { reportErrors(this, [&] { showHover(monster); }); });
    connect(view_, &BalanceChartView::pointClicked, this, [this](int monster, Qt::KeyboardModifiers modifiers) {
        reportErrors(this, [&] { pointClicked(monster, modifiers); });
    });
    connect(view_, &BalanceChartView::boxDrawn, this, [this](const std::vector<int>& monsters, Qt::KeyboardModifiers modifiers) {
        reportErrors(this, [&] { boxDrawn(monsters, modifiers); });
    });
}

void BalanceWindow::open() {
    reportErrors(this, [&] {
        if (replotTimer_->isActive()) {
            replotTimer_->stop();
            replot();
        }
        show();
        raise();
        activateWindow();
    });
}

namespace {

// A box shows a choice made elsewhere without telling of it as the operator's.
void showChecked(QCheckBox* box, bool checked) {
    const QSignalBlocker quiet(box);
    box->setChecked(checked);
}

}  // namespace

void BalanceWindow::showField(int field) {
    if (!chartableField(field) || field == rows_.field()) return;
    rows_.readAll(document_.monsters(), field, leaveOutNonCombat_);
    if (const int index = columnBox_->findData(field); index != columnBox_->currentIndex()) {
        const QSignalBlocker quiet(columnBox_);
        columnBox_->setCurrentIndex(index);
    }
    replot();
}

void BalanceWindow::setLogarithmic(bool logarithmic) {
    if (logarithmic == logarithmic_) return;
    logarithmic_ = logarithmic;
    showChecked(logBox_, logarithmic);
    replot();
}

void BalanceWindow::setLeavingOutNonCombat(bool leaveOut) {
    if (leaveOut == leaveOutNonCombat_) return;
    leaveOutNonCombat_ = leaveOut;
    showChecked(nonCombatBox_, leaveOut);
    // Who fights is read from the lines when first asked: the move range lies past HP.
    if (leaveOut && !rows_.nonCombatRead()) rows_.readAll(document_.monsters(), rows_.field(), true);
    replot();
}

void BalanceWindow::setFilterText(const QString& text) {
    reportErrors(this, [&] {
        if (text == filter_) return;
        filter_ = text;
        replot();
    });
}

void BalanceWindow::showSelection(const std::vector<int>& monsters) {
    reportErrors(this, [&] {
        selected_.assign(static_cast<std::size_t>(document_.monsters().monstercount), 0);
        for (const int monster : monsters)
            if (monster >= 0 && monster < static_cast<int>(selected_.size())) selected_[static_cast<std::size_t>(monster)] = 1;
        view_->showSelection(selected_);
    });
}

void BalanceWindow::setLocked(bool locked) {
    locked_ = locked;
    trendButton_->setEnabled(!locked);
    showStatus(locked ? kLockedText : QString());
}

void BalanceWindow::readAllRows() {
    rows_.readAll(document_.monsters(), rows_.field(), leaveOutNonCombat_);
    selected_.assign(static_cast<std::size_t>(document_.monsters().monstercount), 0);
    replot();
}

void BalanceWindow::replotSoon() { replotTimer_->start(); }

bool BalanceWindow::shownByFilter(int monster) const {
    const MonsterDataRecord& record = document_.monsters().monsters[static_cast<std::size_t>(monster)];
    return monsterMatchesFilter(textFromBytes(record.name), record.id, filter_);
}

void BalanceWindow::replot() {
    replotTimer_->stop();
    std::function<bool(int)> shown;
    if (!filter_.trimmed().isEmpty()) shown = [this](int monster) { return shownByFilter(monster); };
    plot_ = plotBalance(rows_.rows(), shown, leaveOutNonCombat_);
    view_->showPlot(plot_, fieldName(), logarithmic_);
    view_->showSelection(selected_);
    listOutliers();
    updateTitle();

    const Trend& trend = plot_.trend;
    const QString name = fieldName();
    QStringList lines;
    QString shownText = plural(static_cast<qsizetype>(plot_.monsters.size()), "monster", "monsters") +
                        QStringLiteral(" on the chart");
    if (!filter_.trimmed().isEmpty()) shownText += QStringLiteral(" (the monster table's filter: \"%1\")").arg(filter_.trimmed());
    lines << shownText + QLatin1Char('.');
    if (plot_.nonCombatLeftOut > 0)
        lines << QStringLiteral("%1 left out.").arg(plural(plot_.nonCombatLeftOut, "non-combat character", "non-combat characters"));
    if (plot_.unreadable > 0)
        lines << QStringLiteral("%1 not shown: %2 line cannot be read as far as %3.")
                     .arg(plural(plot_.unreadable, "monster", "monsters"), plot_.unreadable == 1 ? QStringLiteral("its") : QStringLiteral("their"), name);
    if (trend.fitted) {
        lines << QStringLiteral("Trend: %1 = %2 · e^(%3 · level), %4 % a level.")
                     .arg(name, shortNumber(trend.a), shortNumber(trend.b), QString::number(trend.growthPercent(), 'f', 1));
        lines << QStringLiteral("Band: the middle of the monsters (%1 % %2 the trend) × or ÷ %3, %4 median "
                                "deviations of the logarithm; beyond it, outliers.")
                     .arg(std::llabs(std::llround((std::exp(trend.centre) - 1) * 100)))
                     .arg(trend.centre >= 0 ? QStringLiteral("above") : QStringLiteral("below"))
                     .arg(QString::number(trend.bandFactor(), 'f', 2))
                     .arg(kOutlierDeviations);
    } else {
        lines << QStringLiteral("No trend: it needs values above 0 at two levels or more.");
    }
    if (trend.leftOut > 0)
        lines << QStringLiteral("%1 with %2 of 0 or below: left out of the trend, which needs the logarithm of each "
                                "value%3.")
                     .arg(plural(trend.leftOut, "monster", "monsters"), name,
                          logarithmic_ ? QStringLiteral(", and not drawn on the logarithmic scale") : QString());
    summary_->setText(lines.join(QLatin1Char('\n')));
}

// The furthest outliers, as many as an operator reads; a list unchanged by a replot is
// left as it is, so that one edit lays out no text.
void BalanceWindow::listOutliers() {
    // What the lines say, compared before they are written.
    std::vector<long long> said;
    for (const Outlier& outlier : plot_.outliers) {
        if (static_cast<qsizetype>(said.size()) == 4 * kMostOutliersListed) break;
        const LevelValue& point = plot_.points[outlier.index];
        said.insert(said.end(), {plot_.monsters[outlier.index], point.value, outlier.percent, point.level});
    }
    said.push_back(static_cast<long long>(plot_.outliers.size()));
    said.push_back(plot_.trend.fitted);
    said.push_back(rows_.field());
    if (said == listedFigures_) return;
    listedFigures_ = std::move(said);
    QStringList lines;
    std::vector<int> monsters;
    const QString name = fieldName();
    for (const Outlier& outlier : plot_.outliers) {
        if (lines.size() == kMostOutliersListed) break;
        const LevelValue& point = plot_.points[outlier.index];
        const int monster = plot_.monsters[outlier.index];
        // Joined rather than filled in: a name holding "%1" stays as it is, and a hundred
        // lines cost a few allocations each.
        lines << monsterName(monster) + QStringLiteral(": ") + name + QLatin1Char(' ') + QString::number(point.value) +
                     QStringLiteral(", ") + QString::number(std::llabs(outlier.percent)) +
                     (outlier.residual > 0 ? QStringLiteral(" % above the trend at level ")
                                           : QStringLiteral(" % below the trend at level ")) +
                     QString::number(point.level);
        monsters.push_back(monster);
    }
    const auto more = static_cast<qsizetype>(plot_.outliers.size()) - lines.size();
    if (more > 0) lines << QStringLiteral("... and %1 more").arg(more);
    if (plot_.outliers.empty())
        lines << (plot_.trend.fitted ? QStringLiteral("(none: every monster is within the band)")
                                     : QStringLiteral("(none: no trend)"));
    listedMonsters_ = std::move(monsters);
    if (lines == listedLines_) return;
    // Only the lines that say something new are given it, and only they are painted.
    const QSignalBlocker quiet(outlierList_);
    while (outlierList_->count() > lines.size()) delete outlierList_->takeItem(outlierList_->count() - 1);
    for (int i = 0; i < lines.size(); ++i) {
        if (i < listedLines_.size() && listedLines_[i] == lines[i] && i < outlierList_->count()) continue;
        if (i >= outlierList_->count()) outlierList_->addItem(QString());
        outlierList_->item(i)->setText(lines[i]);
        outlierList_->item(i)->setToolTip(lines[i]);
    }
    listedLines_ = lines;
}

void BalanceWindow::updateTitle() {
    setWindowTitle(QStringLiteral("Balance \u2014 %1 by level").arg(fieldName()));
}

QString BalanceWindow::fieldName() const {
    return QString::fromLatin1(kMonsterFields[static_cast<std::size_t>(rows_.field())].columnName);
}

QString BalanceWindow::monsterName(int monster) const {
    const MonsterDataRecord& record = document_.monsters().monsters[static_cast<std::size_t>(monster)];
    return textFromBytes(record.name) + QStringLiteral(" (") + QString::number(record.id) + QLatin1Char(')');
}

void BalanceWindow::showHover(int monster) {
    if (monster < 0) {
        hoverText_.clear();
        QToolTip::hideText();
        return;
    }
    const auto& row = rows_.rows()[static_cast<std::size_t>(monster)];
    hoverText_ = monsterName(monster) + QStringLiteral(": ") + fieldName() + QLatin1Char(' ') +
                 QString::number(row ? row->value : 0) + QStringLiteral(" at level ") + QString::number(row ? row->level : 0);
    QToolTip::showText(QCursor::pos(), hoverText_, view_);
    showStatus(hoverText_);
}

void BalanceWindow::pointClicked(int monster, Qt::KeyboardModifiers modifiers) {
    const bool adding = modifiers & (Qt::ControlModifier | Qt::ShiftModifier);
    if (monster < 0) {
        if (!adding) chooseMonsters({});
        return;
    }
    std::vector<int> chosen;
    if (adding) {
        chosen = selectedMonsters();
        const auto found = std::find(chosen.begin(), chosen.end(), monster);
        if (found != chosen.end())
            chosen.erase(found);
        else
            chosen.push_back(monster);
    } else {
        chosen = {monster};
    }
    chooseMonsters(chosen);
    if (!adding) emit monsterClicked(monster);
}

void BalanceWindow::boxDrawn(const std::vector<int>& monsters, Qt::KeyboardModifiers modifiers) {
    std::vector<int> chosen = monsters;
    if (modifiers & (Qt::ControlModifier | Qt::ShiftModifier)) {
        const std::vector<int> before = selectedMonsters();
        chosen.insert(chosen.end(), before.begin(), before.end());
    }
    chooseMonsters(chosen);
}

void BalanceWindow::chooseMonsters(const std::vector<int>& monsters) {
    reportErrors(this, [&] {
        setSelection(monsters);
        const std::vector<int> chosen = selectedMonsters();
        showStatus(chosen.empty() ? QString()
                                  : QStringLiteral("%1 selected.").arg(plural(static_cast<qsizetype>(chosen.size()), "monster", "monsters")));
        emit monstersChosen(chosen, rows_.field());
    });
}

void BalanceWindow::setSelection(const std::vector<int>& monsters) {
    selected_.assign(static_cast<std::size_t>(document_.monsters().monstercount), 0);
    for (const int monster : monsters)
        if (monster >= 0 && monster < static_cast<int>(selected_.size())) selected_[static_cast<std::size_t>(monster)] = 1;
    view_->showSelection(selected_);
}

std::vector<int> BalanceWindow::selectedMonsters() const {
    std::vector<int> monsters;
    for (std::size_t monster = 0; monster < selected_.size(); ++monster)
        if (selected_[monster]) monsters.push_back(static_cast<int>(monster));
    return monsters;
}

void BalanceWindow::setSelectedToTrend() {
    reportErrors(this, [&] {
        if (locked_) {
            showStatus(kLockedText);
            return;
        }
        if (replotTimer_->isActive()) replot();
        // The selected monsters on the chart: the table's selection may hold others.
        std::vector<int> chosen;
        for (const int monster : plot_.monsters)
            if (selected_[static_cast<std::size_t>(monster)]) chosen.push_back(monster);
        if (chosen.empty()) {
            showStatus(QStringLiteral("Select monsters on the chart first: click one, or drag a box around several."));
            return;
        }
        if (!plot_.trend.fitted) {
            showStatus(QStringLiteral("There is no trend to set them to."));
            return;
        }
        const int field = rows_.field();
        const EditPlan plan = planEdits(document_.monsters(), trendEdits(plot_.trend, rows_.rows(), chosen, field));
        const QString what = QStringLiteral("%1 of %2").arg(fieldName(), plural(static_cast<qsizetype>(chosen.size()), "monster", "monsters"));
        document_.storeMonsters(plan.stores, QStringLiteral("set %1 to the trend").arg(what));
        QString done = QStringLiteral("Set %1 to the trend: %2 changed").arg(what).arg(plan.changed);
        if (!plan.clamped.empty())
            done += QStringLiteral(", %1 pulled into the field's bounds").arg(plan.clamped.size());
        if (!plan.unreadable.empty())
            done += QStringLiteral(", %1 of lines that cannot be read in full left as they are").arg(plan.unreadable.size());
        replot();
        showStatus(done + QLatin1Char('.'));
    });
}

bool BalanceWindow::savePicture(const QString& path) {
    bool saved = false;
    reportErrors(this, [&] {
        if (replotTimer_->isActive()) replot();
        QSaveFile file(path);
        QString failure;
        if (!file.open(QIODevice::WriteOnly)) {
            failure = file.errorString();
        } else if (path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive)) {
            QSvgGenerator drawing;
            drawing.setOutputDevice(&file);
            drawing.setSize(view_->size());
            drawing.setViewBox(QRect(QPoint(), view_->size()));
            drawing.setTitle(windowTitle());
            QPainter painter(&drawing);
            view_->renderAsShapes(painter, QRect(QPoint(), view_->size()));
            painter.end();
        } else {
            QImageWriter writer(&file, "png");
            if (!writer.write(view_->grab().toImage())) failure = writer.errorString();
        }
        if (failure.isEmpty() && !file.commit()) failure = file.errorString();
        if (!failure.isEmpty()) {
            file.cancelWriting();
            const QString text = QStringLiteral("The chart could not be saved as %1: %2").arg(path, failure);
            showStatus(text);
            messageBoxes().error(this, text);
            return;
        }
        showStatus(QStringLiteral("Saved the chart as %1.").arg(path));
        saved = true;
    });
    return saved;
}

void BalanceWindow::askAndSavePicture() {
    reportErrors(this, [&] {
        QString chosenFilter;
        const QString path = QFileDialog::getSaveFileName(
            this, QStringLiteral("Save the Chart"), QStringLiteral("balance-%1.png").arg(fieldName().section(QLatin1Char(' '), 0, 0)),
            QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg)"), &chosenFilter);
        if (path.isEmpty()) return;
        QString named = path;
        if (!named.endsWith(QStringLiteral(".png"), Qt::CaseInsensitive) && !named.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive))
            named += chosenFilter.contains(QStringLiteral("svg")) ? QStringLiteral(".svg") : QStringLiteral(".png");
        savePicture(named);
    });
}

void BalanceWindow::showStatus(const QString& text) { status_->setText(text); }

QStringList BalanceWindow::outlierLines() const {
    QStringList lines;
    for (int i = 0; i < outlierList_->count(); ++i) lines << outlierList_->item(i)->text();
    return lines;
}

QString BalanceWindow::summaryText() const { return summary_->text(); }

SummaryText::SummaryText(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(fontMetrics().lineSpacing() * kSummaryLines + 4);
}

void SummaryText::setText(const QString& text) {
    if (text == text_) return;
    text_ = text;
    setAccessibleDescription(text);
    update();
}

void SummaryText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(contentsRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text_);
}
QString BalanceWindow::statusText() const { return status_->text(); }
