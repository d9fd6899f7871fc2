// Placeholder so the program links until the preview is written.
#include "Unit4.h"

struct TForm4::Impl {};

std::filesystem::path mapPicturePath(const std::filesystem::path& programFolder, int map) {
    return programFolder / "VarnexMaps" / (std::to_string(map) + ".jpg");
}
QString previewTitle(const QString& name, int map) {
    return QStringLiteral("Map  Preview  ( ") + name + QStringLiteral(", ") + QString::number(map) +
           QStringLiteral(" )  ");
}
TForm4::TForm4(Forms&, int, QWidget* parent) : QWidget(parent), d_(new Impl) {}
TForm4::~TForm4() { delete d_; }
void TForm4::loadMapPicture(const std::filesystem::path&) {}
void TForm4::setPictureVisible(bool) {}
bool TForm4::pictureVisible() const { return false; }
void TForm4::setTitle(const QString&) {}
QString TForm4::title() const { return {}; }
int TForm4::zoom() const { return 1; }
void TForm4::setZoom(int) {}
void TForm4::redraw() {}
