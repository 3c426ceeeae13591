#include "platform/fake/ManualTimer.h"

namespace movra {

void ManualTimer::Start(int intervalMs) {
    interval_ = intervalMs;
    active_ = intervalMs > 0;
    ++startCount;
}

bool ManualTimer::Fire() {
    if (!active_) return false;
    if (onTimeout) onTimeout();
    return true;
}

// The factory must not touch a timer its owner has destroyed: each timer tells its record
// when it goes.
struct ManualTimerFactory::Tracked {
    ManualTimer* timer = nullptr;
};

namespace {
class TrackedManualTimer : public ManualTimer {
public:
    explicit TrackedManualTimer(std::shared_ptr<void> record, ManualTimer** slot)
        : record_(std::move(record)), slot_(slot) {}
    ~TrackedManualTimer() override { *slot_ = nullptr; }

private:
    std::shared_ptr<void> record_;
    ManualTimer** slot_;
};
}  // namespace

std::unique_ptr<Timer> ManualTimerFactory::CreateTimer() {
    auto tracked = std::make_shared<Tracked>();
    auto timer = std::make_unique<TrackedManualTimer>(tracked, &tracked->timer);
    tracked->timer = timer.get();
    timers_.push_back(tracked);
    return timer;
}

int ManualTimerFactory::FireAll() {
    int fired = 0;
    // A handler may create timers: walk a copy.
    auto snapshot = timers_;
    for (const auto& tracked : snapshot)
        if (tracked->timer && tracked->timer->Fire()) ++fired;
    return fired;
}

std::vector<ManualTimer*> ManualTimerFactory::Timers() const {
    std::vector<ManualTimer*> list;
    for (const auto& tracked : timers_) list.push_back(tracked->timer);
    return list;
}

}  // namespace movra
