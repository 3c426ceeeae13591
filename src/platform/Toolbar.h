#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/ImageList.h"

namespace movra {

class Toolbar;
class ToolbarButton;

// An item of a drop-down button's menu. Indices are 1-based.
class ButtonMenu {
public:
    ButtonMenu(ToolbarButton& parent, int index, std::string key, std::string text)
        : parent_(parent), index_(index), key_(std::move(key)), text_(std::move(text)) {}
    ToolbarButton& Parent() const { return parent_; }
    int Index() const { return index_; }
    const std::string& Key() const { return key_; }
    const std::string& Text() const { return text_; }
    bool Enabled() const { return enabled_; }
    bool Visible() const { return visible_; }
    void SetText(const std::string& text);
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);
    std::string tag;

private:
    ToolbarButton& parent_;
    int index_;
    std::string key_;
    std::string text_;
    bool enabled_ = true;
    bool visible_ = true;
};

enum ToolbarButtonStyle : int { ButtonDefault = 0, ButtonCheck = 1, ButtonGroup = 2, ButtonSeparator = 3,
                                ButtonPlaceholder = 4, ButtonDropdown = 5 };

// A button of a toolbar, addressed by its 1-based index or its key.
class ToolbarButton {
public:
    ToolbarButton(Toolbar& toolbar, int index, std::string key, std::string caption, int style, int image)
        : toolbar_(toolbar), index_(index), key_(std::move(key)), caption_(std::move(caption)),
          style_(style), image_(image) {}
    Toolbar& Owner() const { return toolbar_; }
    int Index() const { return index_; }
    const std::string& Key() const { return key_; }
    const std::string& Caption() const { return caption_; }
    const std::string& ToolTipText() const { return toolTipText_; }
    bool Enabled() const { return enabled_; }
    bool Visible() const { return visible_; }
    // 1 pressed (check and group buttons), 0 not.
    int Value() const { return value_; }
    int Style() const { return style_; }
    int Image() const { return image_; }
    void SetCaption(const std::string& caption);
    void SetToolTipText(const std::string& text);
    void SetEnabled(bool enabled);
    void SetVisible(bool visible);
    void SetValue(int value);
    void SetImage(int image);
    std::string tag;

    // The menu of a drop-down button.
    ButtonMenu& AddMenu(const std::string& key, const std::string& text);
    int MenuCount() const { return static_cast<int>(menus_.size()); }
    // By 1-based index or by key (case-insensitive); error 35600 / 35601 when there is none.
    ButtonMenu& ButtonMenus(int index);
    ButtonMenu& ButtonMenus(const std::string& key);

private:
    friend class ButtonMenu;
    void Changed();
    Toolbar& toolbar_;
    int index_;
    std::string key_;
    std::string caption_;
    std::string toolTipText_;
    bool enabled_ = true;
    bool visible_ = true;
    int value_ = 0;
    int style_;
    int image_;
    std::vector<std::unique_ptr<ButtonMenu>> menus_;
};

// A toolbar of buttons with drop-down menus. A click of the user on a button runs ButtonClick,
// on a menu item ButtonMenuClick; the program's changes run nothing.
class Toolbar : public Control {
public:
    Toolbar(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Toolbar, std::move(name), container) {}

    ToolbarButton& AddButton(const std::string& key, const std::string& caption,
                             int style = ButtonDefault, int image = 0);
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // By 1-based index or by key (case-insensitive); error 35600 / 35601 when there is none.
    ToolbarButton& Buttons(int index);
    ToolbarButton& Buttons(const std::string& key);

    // The icons of the buttons; null for text-only buttons.
    ImageList* imageList = nullptr;
    // Aligned along the top of the form, as wide as the form.
    bool AlignTop() const { return alignTop_; }
    void SetAlignTop(bool alignTop);

    std::function<void(ToolbarButton&)> onButtonClick;
    std::function<void(ButtonMenu&)> onButtonMenuClick;

    // What the user does: a check button toggles, a group button presses and releases its group.
    void UserClickButton(int index);
    void UserClickMenu(int buttonIndex, int menuIndex);

private:
    friend class ToolbarButton;
    void ButtonChanged(bool structure) { Notify(structure ? Prop::List : Prop::Value); }
    std::vector<std::unique_ptr<ToolbarButton>> buttons_;
    bool alignTop_ = true;
    EventGate menuGate_;
};

}  // namespace movra
