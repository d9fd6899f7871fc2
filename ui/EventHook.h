#pragma once
// Runs a function on every event of one object before the object sees it; the hook
// returns true to keep the event from it. Owned by the watched object.

#include <functional>
#include <utility>

#include <QObject>

class EventHook final : public QObject {
public:
    using Hook = std::function<bool(QEvent*)>;
    EventHook(QObject* watched, Hook hook) : QObject(watched), hook_(std::move(hook)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override { return hook_(event); }

private:
    Hook hook_;
};
