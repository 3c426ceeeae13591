#pragma once
#include <QTimer>
#include <memory>

#include "platform/Timer.h"

namespace movra {

// A timer of the Qt event loop. A handler that lets events run does not re-enter itself.
class QtTimer : public Timer {
public:
    QtTimer();
    void Start(int intervalMs) override;
    void Stop() override { timer_.stop(); }
    bool Active() const override { return timer_.isActive(); }
    int Interval() const override { return timer_.interval(); }

private:
    QTimer timer_;
    bool running_ = false;
};

class QtTimerFactory : public TimerFactory {
public:
    std::unique_ptr<Timer> CreateTimer() override { return std::make_unique<QtTimer>(); }
};

}  // namespace movra
