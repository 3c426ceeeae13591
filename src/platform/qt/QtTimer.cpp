#include "platform/qt/QtTimer.h"

namespace movra {

QtTimer::QtTimer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
        if (running_ || !onTimeout) return;
        running_ = true;
        onTimeout();
        running_ = false;
    });
}

void QtTimer::Start(int intervalMs) {
    // An interval of 0 or less means a stopped timer, as the old timers had it.
    if (intervalMs <= 0) {
        timer_.stop();
        return;
    }
    timer_.start(intervalMs);
}

}  // namespace movra
