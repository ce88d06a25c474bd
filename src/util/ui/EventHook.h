// An event filter that hands the events of the objects it watches to a function, so a
// window can react to a resize, a mouse release or an application-wide key without a
// subclass per control.
#pragma once

#include <QObject>

#include <functional>

namespace pendlar {

class EventHook : public QObject {
public:
    // `handler` returns true when the event is handled and must go no further.
    using Handler = std::function<bool(QObject* watched, QEvent* event)>;

    EventHook(QObject* parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

    // Watches `target` (any QObject, also the application).
    void Watch(QObject* target) { target->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return handler_ && handler_(watched, event);
    }

private:
    Handler handler_;
};

} // namespace pendlar
