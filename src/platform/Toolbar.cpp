#include "platform/Toolbar.h"

#include "basic/Errors.h"
#include "basic/Text.h"

namespace movra {

namespace {
constexpr int ErrIndexOutOfBounds = 35600;
constexpr int ErrElementNotFound = 35601;
[[noreturn]] void RaiseIndex() { throw RuntimeError(ErrIndexOutOfBounds, "索引越界"); }
[[noreturn]] void RaiseNotFound() { throw RuntimeError(ErrElementNotFound, "找不到元素"); }
}  // namespace

// ---- ButtonMenu

void ButtonMenu::SetText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    parent_.Changed();
}

void ButtonMenu::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    parent_.Changed();
}

void ButtonMenu::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    parent_.Changed();
}

// ---- ToolbarButton

void ToolbarButton::Changed() { toolbar_.ButtonChanged(false); }

void ToolbarButton::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Changed();
}

void ToolbarButton::SetToolTipText(const std::string& text) {
    if (toolTipText_ == text) return;
    toolTipText_ = text;
    Changed();
}

void ToolbarButton::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Changed();
}

void ToolbarButton::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Changed();
}

void ToolbarButton::SetValue(int value) {
    value = value != 0 ? 1 : 0;
    if (value_ == value) return;
    value_ = value;
    Changed();
}

void ToolbarButton::SetImage(int image) {
    if (image_ == image) return;
    image_ = image;
    Changed();
}

ButtonMenu& ToolbarButton::AddMenu(const std::string& key, const std::string& text) {
    menus_.push_back(std::make_unique<ButtonMenu>(*this, MenuCount() + 1, key, text));
    toolbar_.ButtonChanged(true);
    return *menus_.back();
}

ButtonMenu& ToolbarButton::ButtonMenus(int index) {
    if (index < 1 || index > MenuCount()) RaiseIndex();
    return *menus_[static_cast<size_t>(index - 1)];
}

ButtonMenu& ToolbarButton::ButtonMenus(const std::string& key) {
    for (auto& menu : menus_)
        if (!key.empty() && EqualsIgnoreCase(menu->Key(), key)) return *menu;
    RaiseNotFound();
}

// ---- Toolbar

ToolbarButton& Toolbar::AddButton(const std::string& key, const std::string& caption, int style,
                                  int image) {
    buttons_.push_back(std::make_unique<ToolbarButton>(*this, ButtonCount() + 1, key, caption, style, image));
    ButtonChanged(true);
    return *buttons_.back();
}

ToolbarButton& Toolbar::Buttons(int index) {
    if (index < 1 || index > ButtonCount()) RaiseIndex();
    return *buttons_[static_cast<size_t>(index - 1)];
}

ToolbarButton& Toolbar::Buttons(const std::string& key) {
    for (auto& button : buttons_)
        if (!key.empty() && EqualsIgnoreCase(button->Key(), key)) return *button;
    RaiseNotFound();
}

void Toolbar::SetAlignTop(bool alignTop) {
    if (alignTop_ == alignTop) return;
    alignTop_ = alignTop;
    Notify(Prop::Geometry);
}

void Toolbar::UserClickButton(int index) {
    if (index < 1 || index > ButtonCount()) return;
    ToolbarButton& button = Buttons(index);
    if (!Enabled() || !button.Enabled() || !button.Visible()) return;
    if (button.Style() == ButtonSeparator || button.Style() == ButtonPlaceholder) return;
    if (button.Style() == ButtonCheck) {
        button.SetValue(button.Value() == 0 ? 1 : 0);
    } else if (button.Style() == ButtonGroup) {
        // The group is the run of group buttons around this one.
        int first = index, last = index;
        while (first > 1 && Buttons(first - 1).Style() == ButtonGroup) --first;
        while (last < ButtonCount() && Buttons(last + 1).Style() == ButtonGroup) ++last;
        for (int i = first; i <= last; ++i) Buttons(i).SetValue(i == index ? 1 : 0);
    }
    clickGate_.Fire(onButtonClick, button);
}

void Toolbar::UserClickMenu(int buttonIndex, int menuIndex) {
    if (buttonIndex < 1 || buttonIndex > ButtonCount()) return;
    ToolbarButton& button = Buttons(buttonIndex);
    if (menuIndex < 1 || menuIndex > button.MenuCount()) return;
    ButtonMenu& menu = button.ButtonMenus(menuIndex);
    if (!Enabled() || !button.Enabled() || !menu.Enabled() || !menu.Visible()) return;
    menuGate_.Fire(onButtonMenuClick, menu);
}

}  // namespace movra
