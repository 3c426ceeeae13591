#pragma once
#include <string>
#include <vector>

#include "platform/Control.h"
#include "platform/Picture.h"

namespace movra {

// A text box. Change runs whenever the text really changes, whether the user typed it or the
// program wrote it; a write from inside its own Change handler does not run the handler again.
class TextBox : public Control {
public:
    TextBox(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::TextBox, std::move(name), container) {}

    const std::string& Text() const { return text_; }
    void SetText(const std::string& text);
    bool Locked() const { return locked_; }
    void SetLocked(bool locked);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool multiLine);

    // The selection in characters; the start is kept within the text.
    int SelStart() const { return selStart_; }
    int SelLength() const { return selLength_; }
    void SetSelStart(int start);
    void SetSelLength(int length);
    std::string SelText() const;
    // The view reports where the user put the caret; nothing runs.
    void UserSelected(int start, int length);
    // The user edited the text, leaving the caret at `caret`: Change runs as for a write.
    void UserTyped(const std::string& text, int caret);

    std::function<void()> onChange;

private:
    void ClampSelection();
    void ChangeText(const std::string& text, int caret);
    std::string text_;
    bool locked_ = false;
    bool multiLine_ = false;
    int selStart_ = 0;
    int selLength_ = 0;
    EventGate changeGate_;
};

class Label : public Control {
public:
    Label(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Label, std::move(name), container) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // 0 none, 1 a single line round the label.
    int BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);

private:
    std::string caption_;
    int borderStyle_ = 0;
};

class CommandButton : public Control {
public:
    CommandButton(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::CommandButton, std::move(name), container) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    // Default: Enter presses it; Cancel: Escape presses it.
    bool Default() const { return default_; }
    void SetDefault(bool value);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value);
    // The picture the button shows (beside its caption when it has one); empty: none.
    const Picture& ButtonPicture() const { return picture_; }
    void SetPicture(Picture picture);

private:
    std::string caption_;
    bool default_ = false;
    bool cancel_ = false;
    Picture picture_;
};

// The list shared by combo and list boxes. Indices are 0-based; ListIndex -1 means none chosen.
class ListControl : public Control {
public:
    using Control::Control;

    int ListCount() const { return static_cast<int>(items_.size()); }
    // The item text; empty outside the list, as the old controls answered.
    std::string List(int index) const;
    void SetList(int index, const std::string& text);
    // Adds at the end, or before `index` (error 5 outside 0..ListCount).
    void AddItem(const std::string& text, int index = -1);
    // Error 5 outside the list.
    void RemoveItem(int index);
    void Clear();
    int NewIndex() const { return newIndex_; }

    int ListIndex() const { return listIndex_; }
    // Choosing another item runs Click (also when the program chooses); -1 clears the choice.
    // Error 380 outside -1..ListCount-1.
    void SetListIndex(int index);

protected:
    virtual void ChoiceChanged() {}
    std::vector<std::string> items_;
    int listIndex_ = -1;
    int newIndex_ = -1;
};

// Style 0: the text can be typed (Change runs as for a text box); style 2: a list to choose from.
class ComboBox : public ListControl {
public:
    enum Style { DropdownCombo = 0, SimpleCombo = 1, DropdownList = 2 };
    ComboBox(FormModel& form, std::string name, Control* container = nullptr)
        : ListControl(form, ControlKind::ComboBox, std::move(name), container) {}

    int ComboStyle() const { return style_; }
    void SetComboStyle(int style);
    const std::string& Text() const { return text_; }
    // Runs Change when the text really changes; a text equal to an item makes it the chosen item.
    void SetText(const std::string& text);

    std::function<void()> onChange;

protected:
    void ChoiceChanged() override;

private:
    int style_ = DropdownCombo;
    std::string text_;
    EventGate changeGate_;
};

class ListBox : public ListControl {
public:
    ListBox(FormModel& form, std::string name, Control* container = nullptr)
        : ListControl(form, ControlKind::ListBox, std::move(name), container) {}
    // The chosen item's text.
    std::string Text() const { return List(listIndex_); }
};

enum CheckValue : int { Unchecked = 0, Checked = 1, Grayed = 2 };

class CheckBox : public Control {
public:
    CheckBox(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::CheckBox, std::move(name), container) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    int Value() const { return value_; }
    // 0, 1 or 2 (error 380 otherwise); a new value runs Click.
    void SetValue(int value);
    // The user's click: checked becomes unchecked, anything else checked.
    void Click() override;

private:
    std::string caption_;
    int value_ = Unchecked;
};

// Option buttons in one container form a group: switching one on switches the others off.
class OptionButton : public Control {
public:
    OptionButton(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::OptionButton, std::move(name), container) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    bool Value() const { return value_; }
    // True switches the group's others off and runs Click when it was off.
    void SetValue(bool value);
    void Click() override { SetValue(true); }

private:
    std::string caption_;
    bool value_ = false;
};

// A frame groups controls under a caption; controls made with it as container sit inside.
class Frame : public Control {
public:
    Frame(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::Frame, std::move(name), container) {}
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    std::string caption_;
};

// A horizontal or vertical scroll bar. Min may lie above Max (the value then grows towards the
// left or top end). The value is kept between them; a new value runs Change, dragging runs Scroll.
class ScrollBar : public Control {
public:
    ScrollBar(FormModel& form, std::string name, bool vertical, Control* container = nullptr)
        : Control(form, ControlKind::ScrollBar, std::move(name), container), vertical_(vertical) {}

    bool Vertical() const { return vertical_; }
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Value() const { return value_; }
    int SmallChange() const { return smallChange_; }
    int LargeChange() const { return largeChange_; }
    void SetMin(int value);
    void SetMax(int value);
    void SetValue(int value);
    void SetSmallChange(int value);
    void SetLargeChange(int value);
    // The thumb being dragged: the value follows and Scroll runs (Change runs at the release).
    void UserScroll(int value);
    // The thumb was let go: Change runs when dragging moved the value.
    void UserScrollEnd();

    std::function<void()> onChange;
    std::function<void()> onScroll;

private:
    int Clamp(int value) const;
    bool vertical_;
    int min_ = 0, max_ = 32767, value_ = 0, smallChange_ = 1, largeChange_ = 1;
    bool scrolled_ = false;
    EventGate changeGate_;
    EventGate scrollGate_;
};

class ProgressBar : public Control {
public:
    ProgressBar(FormModel& form, std::string name, Control* container = nullptr)
        : Control(form, ControlKind::ProgressBar, std::move(name), container) {}
    double Min() const { return min_; }
    double Max() const { return max_; }
    double Value() const { return value_; }
    void SetMin(double value);
    void SetMax(double value);
    // Kept within Min..Max.
    void SetValue(double value);

private:
    double min_ = 0, max_ = 100, value_ = 0;
};

}  // namespace movra
