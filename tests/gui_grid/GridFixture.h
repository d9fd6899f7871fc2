#pragma once
// The monster table window as the program makes it, on a monster table written to a
// temporary working folder: the cells it shows, the cells a test selects, and the
// values the document's lines hold.

#include <memory>
#include <string>
#include <vector>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTest>
#include <QUndoStack>
#include <gtest/gtest.h>

#include "EditorDocument.h"
#include "EditorWindows.h"
#include "GridColumns.h"
#include "GridView.h"
#include "MessageRecorder.h"
#include "MonsterGridModel.h"
#include "MonsterGridWindow.h"
#include "TempFolder.h"
#include "TextFile.h"

// A monster line: number, 0, the quoted name, then columns 4..28. Unless given, the
// level is 10, column c holds c * 10 (HP 50, ...), the move range 3.
inline std::string gridLine(int id, const std::string& name, std::vector<std::pair<int, std::string>> columns = {}) {
    std::string line = std::to_string(id) + "\t0\t\"" + name + "\"";
    for (int column = 4; column <= 28; ++column) {
        std::string text = column == 4 ? "10" : column == 13 ? "3" : std::to_string(column * 10);
        for (const auto& [c, given] : columns)
            if (c == column) text = given;
        line += "\t" + text;
    }
    return line;
}

class GridFixture : public ::testing::Test {
protected:
    void SetUp() override { recorder().clear(); }

    void open(const std::vector<std::string>& lines) {
        std::string text;
        for (const std::string& line : lines) text += line + "\r\n";
        openFile(text + "end\r\n");
    }
    void openFile(const std::string& bytes) {
        folder.write("data/monster.txt", bytes);
        folder.write("data/Quarnel.txt", "0\r\nend\r\n1\r\nend\r\n2\r\nend\r\n3\r\nend\r\n4\r\nend\r\n");
        windows = std::make_unique<EditorWindows>(folder.path(), folder.path(), loadTables(folder.path()));
        window = &windows->monsterGrid();
        window->open();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window));
        view = window->grid();
        model = window->model();
    }

    EditorDocument& document() const { return windows->document(); }
    QUndoStack& history() const { return document().history(TableFile::Monsters); }

    static int fieldColumn(const char* caption) { return gridColumnNamed(QString::fromLatin1(caption)); }
    QString text(int row, int column) const { return model->index(row, column).data().toString(); }
    QString text(int row, const char* caption) const { return text(row, fieldColumn(caption)); }
    // The numbers of the monsters in the rows, top to bottom.
    std::vector<int> shownIds() const {
        std::vector<int> ids;
        for (int row = 0; row < model->rowCount(); ++row) ids.push_back(text(row, 0).toInt());
        return ids;
    }
    // The value of a field (by its caption) as the monster's stored line holds it.
    std::int32_t stored(int monster, const char* caption) const {
        const auto fields =
            readMonsterLine(document().monsters().monsterlines[static_cast<std::size_t>(monster)], "", monster + 1);
        return fields.values[static_cast<std::size_t>(gridColumn(fieldColumn(caption)).field)];
    }

    void select(const std::vector<int>& rows, const std::vector<int>& columns) {
        QItemSelection cells;
        for (const int row : rows)
            for (const int column : columns) cells.select(model->index(row, column), model->index(row, column));
        view->selectionModel()->select(cells, QItemSelectionModel::ClearAndSelect);
        if (!rows.empty()) view->selectionModel()->setCurrentIndex(model->index(rows.front(), columns.front()),
                                                                   QItemSelectionModel::NoUpdate);
    }
    void clickHeader(int column) {
        QHeaderView* header = view->horizontalHeader();
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                          QPoint(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                                 header->height() / 2));
    }
    std::string saved() {
        EXPECT_TRUE(document().save(TableFile::Monsters, [](const std::string&) { return true; }));
        return folder.read("data/monster.txt");
    }

    TempFolder folder;
    std::unique_ptr<EditorWindows> windows;
    MonsterGridWindow* window = nullptr;
    GridView* view = nullptr;
    MonsterGridModel* model = nullptr;
};
