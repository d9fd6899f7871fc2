// The yardstick of bench/startup: a Qt program that shows one empty 610 by 510
// window and reports it shown at its first paint, as the start-up probe does for the
// editor's main window.

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include "ShownReport.h"

namespace {

class EndWhenPainted final : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) reportShownAndEnd();
        return false;
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.resize(610, 510);
    EndWhenPainted end;
    window.installEventFilter(&end);
    window.show();
    return QApplication::exec();
}
