#pragma once
#include <functional>
#include <memory>

namespace movra {

// A repeating timer of the event loop. It never fires inside another handler: only between events.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(int intervalMs) = 0;
    virtual void Stop() = 0;
    virtual bool Active() const = 0;
    virtual int Interval() const = 0;
    std::function<void()> onTimeout;
};

class TimerFactory {
public:
    virtual ~TimerFactory() = default;
    virtual std::unique_ptr<Timer> CreateTimer() = 0;
};

}  // namespace movra
