#include "platform/Controls.h"

#include <algorithm>

#include "basic/Errors.h"
#include "basic/Text.h"
#include "platform/FormModel.h"

namespace movra {

namespace {
constexpr int ErrInvalidPropertyValue = 380;
[[noreturn]] void RaiseInvalidPropertyValue() { throw RuntimeError(ErrInvalidPropertyValue, "无效的属性值"); }
}  // namespace

// ---- TextBox

// A text written by the program puts the caret at its start, as the old box did.
void TextBox::SetText(const std::string& text) { ChangeText(text, 0); }

void TextBox::UserTyped(const std::string& text, int caret) { ChangeText(text, caret); }

void TextBox::ChangeText(const std::string& text, int caret) {
    if (text == text_) return;
    text_ = text;
    selStart_ = caret;
    selLength_ = 0;
    ClampSelection();
    Notify(Prop::Text);
    changeGate_.Fire(onChange);
}

void TextBox::SetLocked(bool locked) {
    if (locked_ == locked) return;
    locked_ = locked;
    Notify(Prop::Other);
}

void TextBox::SetMultiLine(bool multiLine) {
    if (multiLine_ == multiLine) return;
    multiLine_ = multiLine;
    Notify(Prop::Other);
}

void TextBox::ClampSelection() {
    int length = static_cast<int>(Len(text_));
    selStart_ = std::clamp(selStart_, 0, length);
    selLength_ = std::clamp(selLength_, 0, length - selStart_);
}

void TextBox::SetSelStart(int start) {
    selStart_ = start;
    selLength_ = 0;
    ClampSelection();
    Notify(Prop::Value);
}

void TextBox::SetSelLength(int length) {
    selLength_ = length;
    ClampSelection();
    Notify(Prop::Value);
}

std::string TextBox::SelText() const { return Mid(text_, selStart_ + 1, selLength_); }

void TextBox::UserSelected(int start, int length) {
    selStart_ = start;
    selLength_ = length;
    ClampSelection();
}

// ---- Label, CommandButton, Frame

void Label::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Text);
}

void Label::SetBorderStyle(int style) {
    if (borderStyle_ == style) return;
    borderStyle_ = style;
    Notify(Prop::Other);
}

void CommandButton::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Text);
}

void CommandButton::SetPicture(Picture picture) {
    picture_ = std::move(picture);
    Notify(Prop::Picture);
}

void CommandButton::SetDefault(bool value) {
    if (default_ == value) return;
    default_ = value;
    // Only one button of a form answers Enter.
    if (value)
        for (Control* control : Form().Controls())
            if (control != this && control->Kind() == ControlKind::CommandButton)
                static_cast<CommandButton*>(control)->SetDefault(false);
    Notify(Prop::Other);
}

void CommandButton::SetCancel(bool value) {
    if (cancel_ == value) return;
    cancel_ = value;
    if (value)
        for (Control* control : Form().Controls())
            if (control != this && control->Kind() == ControlKind::CommandButton)
                static_cast<CommandButton*>(control)->SetCancel(false);
    Notify(Prop::Other);
}

void Frame::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Text);
}

// ---- Lists

std::string ListControl::List(int index) const {
    if (index < 0 || index >= ListCount()) return {};
    return items_[static_cast<size_t>(index)];
}

void ListControl::SetList(int index, const std::string& text) {
    if (index < 0 || index >= ListCount()) Raise(ErrInvalidCall);
    items_[static_cast<size_t>(index)] = text;
    Notify(Prop::List);
    if (index == listIndex_) ChoiceChanged();
}

void ListControl::AddItem(const std::string& text, int index) {
    if (index < 0) index = ListCount();
    if (index > ListCount()) Raise(ErrInvalidCall);
    items_.insert(items_.begin() + index, text);
    newIndex_ = index;
    if (listIndex_ >= index) ++listIndex_;
    Notify(Prop::List);
}

void ListControl::RemoveItem(int index) {
    if (index < 0 || index >= ListCount()) Raise(ErrInvalidCall);
    items_.erase(items_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
    Notify(Prop::List);
}

void ListControl::Clear() {
    if (items_.empty() && listIndex_ == -1) return;
    items_.clear();
    listIndex_ = -1;
    newIndex_ = -1;
    Notify(Prop::List);
}

void ListControl::SetListIndex(int index) {
    if (index < -1 || index >= ListCount()) RaiseInvalidPropertyValue();
    if (index == listIndex_) return;
    listIndex_ = index;
    Notify(Prop::Value);
    ChoiceChanged();
    if (index >= 0) clickGate_.Fire(onClick);
}

void ComboBox::SetComboStyle(int style) {
    if (style == style_) return;
    style_ = style;
    Notify(Prop::Other);
}

void ComboBox::ChoiceChanged() {
    // The chosen item's text shows in the box; choosing does not count as typing (no Change).
    if (listIndex_ < 0) return;
    std::string text = items_[static_cast<size_t>(listIndex_)];
    if (text == text_) return;
    text_ = text;
    Notify(Prop::Text);
}

void ComboBox::SetText(const std::string& text) {
    if (text == text_) return;
    text_ = text;
    auto found = std::find(items_.begin(), items_.end(), text);
    int match = found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
    if (match != listIndex_) {
        listIndex_ = match;
        Notify(Prop::Value);
    }
    Notify(Prop::Text);
    changeGate_.Fire(onChange);
}

// ---- CheckBox, OptionButton

void CheckBox::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Text);
}

void CheckBox::SetValue(int value) {
    if (value < Unchecked || value > Grayed) RaiseInvalidPropertyValue();
    if (value == value_) return;
    value_ = value;
    Notify(Prop::Value);
    clickGate_.Fire(onClick);
}

void CheckBox::Click() { SetValue(value_ == Checked ? Unchecked : Checked); }

void OptionButton::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Text);
}

void OptionButton::SetValue(bool value) {
    if (value == value_) return;
    value_ = value;
    if (value) {
        for (Control* control : Form().Controls()) {
            if (control == this || control->Kind() != ControlKind::OptionButton) continue;
            if (control->Container() != Container()) continue;
            auto* other = static_cast<OptionButton*>(control);
            if (other->value_) {
                other->value_ = false;
                other->Notify(Prop::Value);
            }
        }
    }
    Notify(Prop::Value);
    if (value) clickGate_.Fire(onClick);
}

// ---- ScrollBar

int ScrollBar::Clamp(int value) const {
    return std::clamp(value, std::min(min_, max_), std::max(min_, max_));
}

void ScrollBar::SetMin(int value) {
    if (value == min_) return;
    min_ = value;
    Notify(Prop::Range);
    SetValue(value_);
}

void ScrollBar::SetMax(int value) {
    if (value == max_) return;
    max_ = value;
    Notify(Prop::Range);
    SetValue(value_);
}

void ScrollBar::SetSmallChange(int value) {
    smallChange_ = std::max(0, value);
    Notify(Prop::Range);
}

void ScrollBar::SetLargeChange(int value) {
    largeChange_ = std::max(0, value);
    Notify(Prop::Range);
}

void ScrollBar::SetValue(int value) {
    value = Clamp(value);
    if (value == value_) return;
    value_ = value;
    scrolled_ = false;
    Notify(Prop::Value);
    changeGate_.Fire(onChange);
}

void ScrollBar::UserScroll(int value) {
    value = Clamp(value);
    if (value == value_) return;
    value_ = value;
    scrolled_ = true;
    Notify(Prop::Value);
    scrollGate_.Fire(onScroll);
}

void ScrollBar::UserScrollEnd() {
    if (!scrolled_) return;
    scrolled_ = false;
    changeGate_.Fire(onChange);
}

// ---- ProgressBar

void ProgressBar::SetMin(double value) {
    if (value == min_) return;
    min_ = value;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    Notify(Prop::Range);
}

void ProgressBar::SetMax(double value) {
    if (value == max_) return;
    max_ = value;
    value_ = std::clamp(value_, std::min(min_, max_), std::max(min_, max_));
    Notify(Prop::Range);
}

void ProgressBar::SetValue(double value) {
    value = std::clamp(value, std::min(min_, max_), std::max(min_, max_));
    if (value == value_) return;
    value_ = value;
    Notify(Prop::Value);
}

}  // namespace movra
