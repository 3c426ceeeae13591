#pragma once
#include <string>

#include "platform/Control.h"

namespace movra {

// A menu entry of a form. Entries made with another menu as parent form its sub-menu; entries
// without a parent stand in the form's menu bar. A caption "-" is a separator line.
class Menu : public Control {
public:
    Menu(FormModel& form, std::string name, std::string caption, Menu* parent = nullptr)
        : Control(form, ControlKind::Menu, std::move(name), parent), caption_(std::move(caption)) {}

    Menu* ParentMenu() const { return static_cast<Menu*>(Container()); }
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption) {
        if (caption_ == caption) return;
        caption_ = caption;
        Notify(Prop::Text);
    }
    bool Checked() const { return checked_; }
    void SetChecked(bool checked) {
        if (checked_ == checked) return;
        checked_ = checked;
        Notify(Prop::Value);
    }

private:
    std::string caption_;
    bool checked_ = false;
};

}  // namespace movra
