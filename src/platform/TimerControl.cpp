#include "platform/TimerControl.h"

#include "platform/FormModel.h"
#include "platform/Platform.h"

namespace movra {

TimerControl::TimerControl(FormModel& form, std::string name)
    : Control(form, ControlKind::Timer, std::move(name), nullptr),
      timer_(form.platform().timers().CreateTimer()) {
    timer_->onTimeout = [this] {
        if (Enabled() && interval_ > 0) timerGate_.Fire(onTimer);
    };
}

TimerControl::~TimerControl() {
    timer_->Stop();
    timer_->onTimeout = nullptr;
}

void TimerControl::SetInterval(int milliseconds) {
    if (milliseconds < 0) milliseconds = 0;
    if (milliseconds == interval_) return;
    interval_ = milliseconds;
    Restart();
    Notify(Prop::Value);
}

bool TimerControl::Running() const { return timer_->Active(); }

void TimerControl::PropertyChanged(Prop prop) {
    if (prop == Prop::Enabled) Restart();
}

void TimerControl::Restart() {
    if (Enabled() && interval_ > 0)
        timer_->Start(interval_);
    else
        timer_->Stop();
}

}  // namespace movra
