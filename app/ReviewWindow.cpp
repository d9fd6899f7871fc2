#include "ReviewWindow.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QTimer>
#include <QTreeWidget>
#include <QUndoStack>
#include <QVBoxLayout>

#include "ErrorReport.h"
#include "ProgramKeys.h"
#include "Rules.h"
#include "VisibleText.h"

namespace {

// What a row leads to.
enum Role { kLeadsTo = Qt::UserRole, kFirst, kSecond, kThird };
enum Leads { kNowhere, kMonster, kSpot, kDiff };

QString utf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

QString reviewedFile(TableFile file) {
    return file == TableFile::Monsters ? QStringLiteral("data/monster.txt") : QStringLiteral("data/Quarnel.txt");
}

QString counted(std::size_t n, const char* one, const char* many) {
    return QStringLiteral("%1 %2").arg(n).arg(QLatin1String(n == 1 ? one : many));
}

QTreeWidgetItem* row(QTreeWidgetItem* parent, const QString& text) { return new QTreeWidgetItem(parent, {text}); }

void leadTo(QTreeWidgetItem* item, const ReviewTarget& target) {
    switch (target.kind) {
    case ReviewTarget::Kind::None: return;
    case ReviewTarget::Kind::Monster:
        item->setData(0, kLeadsTo, kMonster);
        item->setData(0, kFirst, target.monster);
        item->setData(0, kSecond, target.field);
        return;
    case ReviewTarget::Kind::Spot:
        item->setData(0, kLeadsTo, kSpot);
        item->setData(0, kFirst, target.spotid);
        item->setData(0, kSecond, target.monsterid);
        item->setData(0, kThird, target.map);
        return;
    }
}

// "line 12: warning: ... [clamped-values]", as varnex-check prints a problem.
QString problemText(const ReviewedProblem& reviewed) {
    const Problem& p = reviewed.problem;
    const QString where = p.line > 0 ? QStringLiteral("line %1: ").arg(p.line) : QString();
    return (reviewed.added ? QStringLiteral("NEW  ") : QString()) + where + QLatin1String(severityName(p.severity)) +
           QStringLiteral(": ") + utf8(visibleText(p.message)) + QStringLiteral(" [") + utf8(p.code) +
           QStringLiteral("]");
}

// The diff with the bytes that do not show (tabs, carriage returns) written visibly.
QString shownDiff(const std::string& diff) {
    std::string shown;
    for (std::size_t at = 0; at < diff.size();) {
        const std::size_t end = std::min(diff.find('\n', at), diff.size());
        appendVisibleText(shown, std::string_view(diff).substr(at, end - at));
        shown += '\n';
        at = end + 1;
    }
    return utf8(shown);
}

void fillFile(QTreeWidget* items, TableFile file, const std::optional<FileReview>& review) {
    auto* top = new QTreeWidgetItem(items);
    const QString label = reviewedFile(file);
    if (!review) {
        top->setText(0, label + QStringLiteral(": no unsaved changes"));
        return;
    }
    if (!review->refusal.empty()) {
        top->setText(0, label + QStringLiteral(": the save would write nothing"));
        row(top, utf8(review->refusal));
        return;
    }
    std::size_t added = 0;
    for (const ReviewedProblem& p : review->problems) added += p.added;
    top->setText(0, QStringLiteral("%1: %2, %3 changed only in form, %4 dropped, %5 (%6 new)")
                        .arg(label, counted(review->changes.size(), "change", "changes"),
                             counted(static_cast<std::size_t>(review->formLines), "line", "lines"),
                             counted(review->dropped.size(), "line", "lines"),
                             counted(review->problems.size(), "problem", "problems"))
                        .arg(added));
    QFont bold = top->font(0);
    bold.setBold(true);
    top->setFont(0, bold);
    if (!review->diskFailure.empty())
        row(top, QStringLiteral("The file on disk cannot be read (%1): the save writes it anew.")
                     .arg(utf8(review->diskFailure)));

    top->setExpanded(true);
    QTreeWidgetItem* changes = row(top, QStringLiteral("Changes (%1)").arg(review->changes.size()));
    changes->setExpanded(true);
    for (const ReviewItem& change : review->changes) leadTo(row(changes, utf8(change.text)), change.target);
    QTreeWidgetItem* form = row(
        top, QStringLiteral("%1 only in form (tabs, blanks, line ends, quoted names): Enter shows the diff")
                 .arg(review->formLines == 1 ? QStringLiteral("1 line changes")
                                             : QStringLiteral("%1 lines change").arg(review->formLines)));
    form->setData(0, kLeadsTo, kDiff);
    form->setData(0, kFirst, static_cast<int>(file));
    QTreeWidgetItem* dropped = row(top, QStringLiteral("Lines the save drops (%1)").arg(review->dropped.size()));
    for (const ReviewItem& line : review->dropped) row(dropped, utf8(line.text));
    QTreeWidgetItem* problems = row(top, QStringLiteral("Problems of what it would write (%1, %2 new)")
                                             .arg(review->problems.size())
                                             .arg(added));
    for (const ReviewedProblem& problem : review->problems) {
        QTreeWidgetItem* item = row(problems, problemText(problem));
        leadTo(item, problem.target);
        if (problem.added) item->setFont(0, bold);
    }
    // What the operator did, and what the save would newly get wrong, are open; the
    // lines dropped and the problems the files have anyway are a click away.
    problems->setExpanded(added > 0);
}

// The texts from the top row down to the item, to find it again after a refill.
QStringList pathOf(const QTreeWidgetItem* item) {
    QStringList path;
    for (; item; item = item->parent()) path.prepend(item->text(0));
    return path;
}

}  // namespace

ReviewWindow::ReviewWindow(EditorDocument& document, QWidget* parent)
    : QWidget(parent, Qt::Window), document_(document) {
    setObjectName(QStringLiteral("ReviewWindow"));
    hint_ = new QLabel(QStringLiteral("What the saves would write, worked out from the files on disk. Enter or a "
                                      "double click goes to a change's or a problem's monster or spot."),
                       this);
    hint_->setWordWrap(true);
    items_ = new QTreeWidget(this);
    items_->setObjectName(QStringLiteral("ReviewItems"));
    items_->setAccessibleName(QStringLiteral("Review of the save"));
    items_->setHeaderHidden(true);
    items_->setUniformRowHeights(true);
    diffCaption_ = new QLabel(this);
    diffCaption_->setObjectName(QStringLiteral("ReviewDiffCaption"));
    diff_ = new QPlainTextEdit(this);
    diff_->setObjectName(QStringLiteral("ReviewDiff"));
    diff_->setAccessibleName(QStringLiteral("Diff"));
    diff_->setReadOnly(true);
    diff_->setLineWrapMode(QPlainTextEdit::NoWrap);
    diff_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    auto* lower = new QWidget(this);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->addWidget(diffCaption_);
    lowerLayout->addWidget(diff_);
    parts_ = new QSplitter(Qt::Vertical, this);
    parts_->addWidget(items_);
    parts_->addWidget(lower);
    lower->hide();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint_);
    layout->addWidget(parts_, 1);
    setMinimumSize(360, 300);
    resize(820, 560);

    connect(items_, &QTreeWidget::itemActivated, this, &ReviewWindow::activate);
    // Every change of a table, its undo and its save: the review follows.
    connect(&document_, &EditorDocument::historyChanged, this, &ReviewWindow::refreshSoon);
    connect(&document_, &EditorDocument::fileSaved, this, &ReviewWindow::refreshSoon);
    connect(&document_, &EditorDocument::monsterStored, this, &ReviewWindow::refreshSoon);
    connect(&document_, &EditorDocument::spotAdded, this, &ReviewWindow::refreshSoon);
    connect(&document_, &EditorDocument::spotDeleted, this, &ReviewWindow::refreshSoon);
    connect(&document_, &EditorDocument::spotChanged, this, &ReviewWindow::refreshSoon);
    connect(&document_, &EditorDocument::spotsChanged, this, &ReviewWindow::refreshSoon);
    showTitle();
}

void ReviewWindow::refresh() {
    refreshPending_ = false;
    reportErrors(this, [&] {
        const auto unsaved = [this](TableFile file) { return !document_.history(file).isClean(); };
        const std::filesystem::path& program = document_.programFolder();
        review_ = reviewSave({document_.monsters(), document_.spawns(), unsaved(TableFile::Monsters),
                              unsaved(TableFile::Spawns), document_.workFolder() / "data" / "monster.txt",
                              program / "data" / "Quarnel.txt", program},
                             diskProblems_);
        fill();
    });
}

void ReviewWindow::refreshSoon() {
    if (!isVisible() || refreshPending_) return;
    refreshPending_ = true;
    QTimer::singleShot(0, this, [this] {
        if (refreshPending_) refresh();
    });
}

void ReviewWindow::fill() {
    const QStringList current = pathOf(items_->currentItem());
    items_->clear();
    fillFile(items_, TableFile::Monsters, review_.monsters);
    fillFile(items_, TableFile::Spawns, review_.spawns);
    // The same row as before, where it is still there; else the first.
    QTreeWidgetItem* again = nullptr;
    for (QTreeWidgetItemIterator it(items_); *it && !current.isEmpty(); ++it)
        if (pathOf(*it) == current) again = *it;
    items_->setCurrentItem(again ? again : items_->topLevelItem(0));
    showTitle();
    if (diffFile_) showDiff(*diffFile_);
}

void ReviewWindow::showTitle() {
    const int changes = review_.changeCount();
    setWindowTitle(QStringLiteral("Review of the save \u2014 %1")
                       .arg(changes == 0   ? QStringLiteral("no changes")
                            : changes == 1 ? QStringLiteral("1 change")
                                           : QStringLiteral("%1 changes").arg(changes)));
}

void ReviewWindow::showDiff(TableFile file) {
    diffFile_ = file;
    const std::optional<FileReview>& review = file == TableFile::Monsters ? review_.monsters : review_.spawns;
    const QString label = reviewedFile(file);
    diffCaption_->setText(
        review ? QStringLiteral("%1 on disk against what the save would write (tabs shown as \\t, carriage returns "
                                "as \\x0d):")
                     .arg(label)
               : QStringLiteral("%1 has no unsaved changes.").arg(label));
    diff_->setPlainText(review ? shownDiff(reviewDiff(*review)) : QString());
    diff_->parentWidget()->show();
}

void ReviewWindow::activate(QTreeWidgetItem* item) {
    if (!item) return;
    const QVariant first = item->data(0, kFirst);
    switch (item->data(0, kLeadsTo).toInt()) {
    case kMonster: emit monsterChosen(first.toInt(), item->data(0, kSecond).toInt()); break;
    case kSpot: emit spotChosen(first.toInt(), item->data(0, kSecond).toInt(), item->data(0, kThird).toInt()); break;
    case kDiff: showDiff(static_cast<TableFile>(first.toInt())); break;
    default: break;
    }
}

void ReviewWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    items_->setFocus(Qt::OtherFocusReason);
}

void ReviewWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}
