#pragma once
#include <memory>

#include "platform/Control.h"
#include "platform/Timer.h"

namespace movra {

// A form's timer: it runs while it is enabled and its interval is above 0, and its Timer event
// runs between other events, never inside itself.
class TimerControl : public Control {
public:
    TimerControl(FormModel& form, std::string name);
    ~TimerControl() override;

    int Interval() const { return interval_; }
    void SetInterval(int milliseconds);
    // True while the platform timer runs.
    bool Running() const;

    std::function<void()> onTimer;

protected:
    void PropertyChanged(Prop prop) override;

private:
    void Restart();
    std::unique_ptr<Timer> timer_;
    int interval_ = 0;
    EventGate timerGate_;
};

}  // namespace movra
