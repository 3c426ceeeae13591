#pragma once
#include <memory>
#include <vector>

#include "platform/Timer.h"

namespace movra {

// A timer that fires only when the test says so.
class ManualTimer : public Timer {
public:
    void Start(int intervalMs) override;
    void Stop() override { active_ = false; }
    bool Active() const override { return active_; }
    int Interval() const override { return interval_; }
    // Runs onTimeout once when the timer is active; true when it ran.
    bool Fire();
    int startCount = 0;

private:
    bool active_ = false;
    int interval_ = 0;
};

// Makes manual timers and keeps track of them so a test can fire every active one.
class ManualTimerFactory : public TimerFactory {
public:
    std::unique_ptr<Timer> CreateTimer() override;
    // Fires each live, active timer once, in creation order; returns how many fired.
    int FireAll();
    // Every timer made, oldest first (entries of destroyed timers are null).
    std::vector<ManualTimer*> Timers() const;

private:
    struct Tracked;
    std::vector<std::shared_ptr<Tracked>> timers_;
};

}  // namespace movra
