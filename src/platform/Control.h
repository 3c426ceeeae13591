#pragma once
#include <functional>
#include <string>

#include "platform/Color.h"

namespace movra {

class FormModel;

// The kinds of control a form can hold; the binder makes one kind of widget for each.
enum class ControlKind {
    TextBox, Label, CommandButton, ComboBox, ListBox, CheckBox, OptionButton, Frame, PictureBox,
    ScrollBar, Timer, Toolbar, ImageCombo, ProgressBar, Menu,
};

// Which property of a control changed, so a view can bring only that part up to date.
enum class Prop {
    Geometry, Visible, Enabled, ToolTipText, Color, Font, Text, Value, List, Range, Picture, Focus,
    Order, Other,
};

// Mouse buttons and shift keys as the event procedures receive them.
enum MouseButtonCode : int { LeftButton = 1, RightButton = 2, MiddleButton = 4 };
enum ShiftCode : int { ShiftMask = 1, CtrlMask = 2, AltMask = 4 };

// Key codes of the key events (the letters and digits are their upper-case character codes).
enum KeyCodeValue : int {
    KeyBack = 8, KeyTab = 9, KeyReturn = 13, KeyShift = 16, KeyControl = 17, KeyMenu = 18,
    KeyEscape = 27, KeySpace = 32, KeyPageUp = 33, KeyPageDown = 34, KeyEnd = 35, KeyHome = 36,
    KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40, KeyInsert = 45, KeyDelete = 46,
    KeyF1 = 112,
};

// A colour the program never set: the view keeps the look of the desktop.
constexpr Rgb SystemColor = -1;

using MouseHandler = std::function<void(int button, int shift, double x, double y)>;
using KeyHandler = std::function<void(int& keyCode, int shift)>;
using KeyPressHandler = std::function<void(int& keyAscii)>;
using ControlObserver = std::function<void(Prop)>;

// Runs an event handler unless the same event of the same control is already running, so that a
// handler that writes its own control does not start itself again without end.
class EventGate {
public:
    template <class Handler, class... Args>
    void Fire(const Handler& handler, Args&&... args) {
        if (running_ || !handler) return;
        running_ = true;
        struct Reset {
            bool& flag;
            ~Reset() { flag = false; }
        } reset{running_};
        handler(std::forward<Args>(args)...);
    }
    bool Running() const { return running_; }

private:
    bool running_ = false;
};

// What every control has: a name, a place on its form in twips, visibility, enabled state, a tool
// tip, colours and a font, the common events, and one observer that the view sets to stay in step.
class Control {
public:
    Control(FormModel& form, ControlKind kind, std::string name, Control* container);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    ControlKind Kind() const { return kind_; }
    const std::string& Name() const { return name_; }
    // The element number inside a control array; -1 for a control of its own.
    int Index() const { return index_; }
    FormModel& Form() const { return form_; }
    // The frame or picture box holding this control; null when it sits on the form itself.
    Control* Container() const { return container_; }

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);

    // Place and size in twips, relative to the container's client area.
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void SetLeft(double left) { Move(left, top_, width_, height_); }
    void SetTop(double top) { Move(left_, top, width_, height_); }
    void SetWidth(double width) { Move(left_, top_, width, height_); }
    void SetHeight(double height) { Move(left_, top_, width_, height); }
    void Move(double left, double top, double width, double height);
    // False until the form gives a place: the view then lays the control out itself.
    bool HasGeometry() const { return hasGeometry_; }

    const std::string& ToolTipText() const { return toolTipText_; }
    void SetToolTipText(const std::string& text);

    // SystemColor until the program sets one.
    Rgb BackColor() const { return backColor_; }
    void SetBackColor(Rgb color);
    Rgb ForeColor() const { return foreColor_; }
    void SetForeColor(Rgb color);

    // Empty name and size 0 until the program sets them: the view keeps the form's font.
    const std::string& FontName() const { return fontName_; }
    double FontSize() const { return fontSize_; }
    bool FontBold() const { return fontBold_; }
    bool FontItalic() const { return fontItalic_; }
    void SetFontName(const std::string& name);
    void SetFontSize(double points);
    void SetFontBold(bool bold);
    void SetFontItalic(bool italic);

    // The program's own note on the control.
    std::string tag;

    // Brings the control in front of the others that share its place (0), or sends it behind them
    // (any other value).
    void ZOrder(int position = 0);
    // Its place in the stack: of two overlapping controls the one with the higher number lies in
    // front. Controls made later start in front of those made before.
    long StackOrder() const { return stackOrder_; }

    // Asks the view to give this control the keyboard focus.
    void SetFocus() { Notify(Prop::Focus); }

    // Common events. The view calls the Raise... functions for what the user does.
    std::function<void()> onClick;
    std::function<void()> onDblClick;
    std::function<void()> onGotFocus;
    std::function<void()> onLostFocus;
    MouseHandler onMouseDown;
    MouseHandler onMouseMove;
    MouseHandler onMouseUp;
    KeyHandler onKeyDown;
    KeyHandler onKeyUp;
    KeyPressHandler onKeyPress;

    // A click of the user; buttons, check boxes and option buttons change their value first.
    virtual void Click();
    void DblClick();
    void MouseDown(int button, int shift, double x, double y);
    void MouseMove(int button, int shift, double x, double y);
    void MouseUp(int button, int shift, double x, double y);
    void KeyDown(int& keyCode, int shift);
    void KeyUp(int& keyCode, int shift);
    void KeyPress(int& keyAscii);
    void GotFocus();
    void LostFocus();

    // The view's link: called after every property change. One observer per control.
    void SetObserver(ControlObserver observer) { observer_ = std::move(observer); }

    // Set by control arrays when they create an element.
    void SetIndex(int index) { index_ = index; }

protected:
    void Notify(Prop prop) {
        PropertyChanged(prop);
        if (observer_) observer_(prop);
    }
    // Lets a control react to its own properties before the view hears of them (the picture box
    // resizes its surface, the timer starts and stops).
    virtual void PropertyChanged(Prop /*prop*/) {}
    EventGate clickGate_;

private:
    FormModel& form_;
    ControlKind kind_;
    std::string name_;
    Control* container_;
    int index_ = -1;
    bool enabled_ = true;
    bool visible_ = true;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool hasGeometry_ = false;
    std::string toolTipText_;
    Rgb backColor_ = SystemColor;
    Rgb foreColor_ = SystemColor;
    std::string fontName_;
    double fontSize_ = 0;
    bool fontBold_ = false;
    bool fontItalic_ = false;
    long stackOrder_ = 0;
    ControlObserver observer_;
};

}  // namespace movra
