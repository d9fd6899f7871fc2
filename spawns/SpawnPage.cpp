// Placeholder so the main window links until the page is written.
#include "SpawnPage.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTreeWidget>

struct SpawnPage::Impl {
    QTreeWidget* list = nullptr;
    QComboBox* maps = nullptr;
    QTabWidget* pages = nullptr;
};

SpawnPage::SpawnPage(Forms&, QWidget* parent) : QWidget(parent), d_(new Impl) {
    d_->list = new QTreeWidget(this);
    d_->maps = new QComboBox(this);
    d_->pages = new QTabWidget(this);
}
SpawnPage::~SpawnPage() { delete d_; }
void SpawnPage::FormShow() {}
void SpawnPage::allmonsterlistClick() {}
void SpawnPage::MapListChange() {}
QTreeWidget* SpawnPage::allmonsterlist() const { return d_->list; }
QComboBox* SpawnPage::mapList() const { return d_->maps; }
QTabWidget* SpawnPage::pageControl2() const { return d_->pages; }
int SpawnPage::selectedMonsterIndex() const { return -1; }
void SpawnPage::selectMonsterIndex(int) {}
void SpawnPage::setMonsterIcon(int, bool) {}
void SpawnPage::selectMapText(const QString&) {}
void SpawnPage::showPointListPage() {}
void SpawnPage::showRangeListPage() {}
bool SpawnPage::mapSelectedForPreview() const { return false; }
