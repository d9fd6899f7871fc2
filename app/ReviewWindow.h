#pragma once
// What the saves would write, before they write it (Ctrl+Shift+D): for each file with
// unsaved changes, the operator's changes by monster and field or by spot, the lines
// that change only in form (their diff on demand), the lines the save drops, and the
// problems the checker's rules find in what it would write, those the save adds marked.
// It follows the document: every change while it is open works the review out again.
// Enter or a double click on a change or a problem asks for its monster or spot
// (monsterChosen, spotChosen), which EditorWindows shows where the operator works.

#include <cstdint>
#include <optional>

#include <QWidget>

#include "EditorDocument.h"
#include "SaveReview.h"

class QLabel;
class QPlainTextEdit;
class QSplitter;
class QTreeWidget;
class QTreeWidgetItem;

class ReviewWindow : public QWidget {
    Q_OBJECT
public:
    explicit ReviewWindow(EditorDocument& document, QWidget* parent = nullptr);

    // Works the review out again from the document and the files on disk, now.
    void refresh();
    const SaveReview& review() const { return review_; }
    QTreeWidget* items() const { return items_; }
    QPlainTextEdit* diffView() const { return diff_; }
    // The file's diff in the lower part of the window.
    void showDiff(TableFile file);
    // What Enter or a double click on the item does.
    void activate(QTreeWidgetItem* item);

signals:
    // index: in the monster table; field: an index of kMonsterFields, or -1.
    void monsterChosen(int index, int field);
    // A spot, live or deleted, with its monster's number and its map.
    void spotChosen(std::int32_t spotid, std::int32_t monsterid, int map);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // Many changes in one turn of the event loop (a group moved, an undo of many) make
    // one review, after them.
    void refreshSoon();
    void fill();
    void showTitle();

    EditorDocument& document_;
    DiskProblems diskProblems_;
    SaveReview review_;
    bool refreshPending_ = false;
    std::optional<TableFile> diffFile_;
    QLabel* hint_ = nullptr;
    QSplitter* parts_ = nullptr;
    QTreeWidget* items_ = nullptr;
    QLabel* diffCaption_ = nullptr;
    QPlainTextEdit* diff_ = nullptr;
};
