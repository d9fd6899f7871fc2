#pragma once
// The keys of the program, window by window, as the one table of keys lists them.

#include <QWidget>

class QTreeWidget;

class KeyListWindow : public QWidget {
    Q_OBJECT
public:
    explicit KeyListWindow(QWidget* parent = nullptr);
    QTreeWidget* list() const { return list_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidget* list_ = nullptr;
};
