#include "SpawnFixture.h"

#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QTabWidget>
#include <QTreeView>

#include "MessageRecorder.h"
#include "SpotIcons.h"

std::string fixtureMonsterFile() {
    std::string text;
    const char* names[] = {"Ash Hound", "Reed Crawler", "Stone Warden", "Mire Lantern", "Quiet Moth"};
    for (int i = 0; i < 5; ++i) {
        text += std::to_string(10 + i) + "\t0\t\"" + names[i] + "\"\t" + std::to_string(20 + i);
        for (int column = 5; column <= 28; ++column) text += column == 13 ? "\t1" : "\t0";
        text += "\r\n";
    }
    return text;
}

std::string fixtureSpawnFile() {
    return "0\r\n"
           "10\t3\t5\t100\t101\t-1\r\n"
           "10\t0\t6\t50\t60\t2\r\n"
           "10\t3\t7\t102\t103\t3\r\n"
           "13\t1\t0\t40\t41\t1\r\n"
           "13\t2\t0\t42\t43\t1\r\n"
           "end\r\n"
           "1\r\n"
           "10\t3\t9\t10\t20\t30\t40\t6\t7\r\n"
           "12\t7\t3\t11\t12\t13\t14\t7\t8\r\n"
           "end\r\n"
           "2\r\n"
           "10\t3\t8\t104\t105\t5\r\n"
           "end\r\n"
           "3\r\n"
           "11\t5\t2\t1\t2\t3\t4\t5\t6\r\n"
           "end\r\n"
           "4\r\n"
           "11\t5\t4\t60\t61\t9\r\n"
           "end\r\n";
}

std::string jpegBytes(QColor colour, int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!image.save(&buffer, "JPG", 100)) ADD_FAILURE() << "no JPEG writer";
    return bytes.toStdString();
}

SpawnFixture::SpawnFixture() {
    recorder().clear();
    folder.write("data/monster.txt", fixtureMonsterFile());
    folder.write("data/Quarnel.txt", fixtureSpawnFile());
    folder.write("VarnexMaps/3.jpg", jpegBytes(Qt::black));
    folder.write("VarnexMaps/5.jpg", jpegBytes(Qt::black));
}

SpawnFixture::~SpawnFixture() = default;

void SpawnFixture::makeWindows(int screenHeight) {
    windows = std::make_unique<EditorWindows>(folder.path(), folder.path(), loadTables(folder.path()), screenHeight);
    MainWindow& main = windows->mainWindow();
    page = main.spawnPage();
    dialog = &windows->addSpotDialog();
    preview = &windows->mapPreview();
    main.pages()->setCurrentWidget(page);
}

void SpawnFixture::chooseMonster(int row) {
    page->selectMonsterIndex(row);
    page->showSelectedMonster();
}

void SpawnFixture::chooseMap(const QString& text) {
    page->selectMapText(text);
    page->showSelectedMap();
}

void SpawnFixture::selectRow(QTreeView* list, int row) {
    const QModelIndex index = cell(list, row);
    ASSERT_TRUE(index.isValid());
    list->setCurrentIndex(index);
    list->selectionModel()->select(index, QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

QStringList SpawnFixture::mapTexts() const {
    QStringList texts;
    for (int i = 0; i < page->mapCombo()->count(); ++i) texts << page->mapCombo()->itemText(i);
    return texts;
}

bool SpawnFixture::monsterIconHasSpots(int row) const {
    const QImage shown = rowIcon(page->monsterList(), row).pixmap(16, 16).toImage();
    const QImage ladybird = monsterIcon(true).pixmap(16, 16).toImage();
    const QImage grey = monsterIcon(false).pixmap(16, 16).toImage();
    EXPECT_TRUE(shown == ladybird || shown == grey) << "row " << row << " shows neither icon";
    return shown == ladybird;
}

std::set<std::pair<int, int>> whitePixels(MapPreviewWindow& preview) {
    QWidget* panel = child(&preview, "Panel2");
    const QImage image = panel->grab().toImage();
    const int side = 256 * preview.zoom();
    std::set<std::pair<int, int>> white;
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const QColor c = image.pixelColor(x + 1, y + 1);  // inside the panel's border
            if (c.red() > 200 && c.green() > 200 && c.blue() > 200) white.insert({x, y});
        }
    return white;
}

std::set<std::pair<int, int>> outlinePixels(const std::vector<SpotRect>& rects, int side) {
    std::set<std::pair<int, int>> pixels;
    auto put = [&](int x, int y) {
        if (x >= 0 && y >= 0 && x < side && y < side) pixels.insert({x, y});
    };
    for (const SpotRect& raw : rects) {
        const SpotRect r = normalised(raw);
        if (r.right <= r.left || r.bottom <= r.top) continue;
        for (int x = r.left; x < r.right; ++x) {
            put(x, r.top);
            put(x, r.bottom - 1);
        }
        for (int y = r.top; y < r.bottom; ++y) {
            put(r.left, y);
            put(r.right - 1, y);
        }
    }
    return pixels;
}

QWidget* child(QWidget* parent, const char* name) {
    auto* found = parent->findChild<QWidget*>(QString::fromLatin1(name));
    if (!found) ADD_FAILURE() << "no control named " << name;
    return found;
}
