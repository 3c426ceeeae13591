#include "platform/Control.h"

#include "platform/FormModel.h"

namespace movra {

Control::Control(FormModel& form, ControlKind kind, std::string name, Control* container)
    : form_(form), kind_(kind), name_(std::move(name)), container_(container) {
    stackOrder_ = form_.NextFrontOrder();
    form_.AddControl(*this);
}

void Control::ZOrder(int position) {
    stackOrder_ = position == 0 ? form_.NextFrontOrder() : form_.NextBackOrder();
    Notify(Prop::Order);
}

Control::~Control() { form_.RemoveControl(*this); }

void Control::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Notify(Prop::Enabled);
}

void Control::SetVisible(bool visible) {
    if (visible_ == visible) return;
    visible_ = visible;
    Notify(Prop::Visible);
}

void Control::Move(double left, double top, double width, double height) {
    // A negative size cannot be shown; the old runtime refused it, here it becomes empty.
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    bool changed = width != width_ || height != height_ || left != left_ || top != top_ || !hasGeometry_;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    hasGeometry_ = true;
    if (!changed) return;
    Notify(Prop::Geometry);
}

void Control::SetToolTipText(const std::string& text) {
    if (toolTipText_ == text) return;
    toolTipText_ = text;
    Notify(Prop::ToolTipText);
}

void Control::SetBackColor(Rgb color) {
    if (backColor_ == color) return;
    backColor_ = color;
    Notify(Prop::Color);
}

void Control::SetForeColor(Rgb color) {
    if (foreColor_ == color) return;
    foreColor_ = color;
    Notify(Prop::Color);
}

void Control::SetFontName(const std::string& name) {
    if (fontName_ == name) return;
    fontName_ = name;
    Notify(Prop::Font);
}

void Control::SetFontSize(double points) {
    if (fontSize_ == points) return;
    fontSize_ = points;
    Notify(Prop::Font);
}

void Control::SetFontBold(bool bold) {
    if (fontBold_ == bold) return;
    fontBold_ = bold;
    Notify(Prop::Font);
}

void Control::SetFontItalic(bool italic) {
    if (fontItalic_ == italic) return;
    fontItalic_ = italic;
    Notify(Prop::Font);
}

void Control::Click() { clickGate_.Fire(onClick); }

void Control::DblClick() {
    if (onDblClick) onDblClick();
}

void Control::MouseDown(int button, int shift, double x, double y) {
    if (onMouseDown) onMouseDown(button, shift, x, y);
}

void Control::MouseMove(int button, int shift, double x, double y) {
    if (onMouseMove) onMouseMove(button, shift, x, y);
}

void Control::MouseUp(int button, int shift, double x, double y) {
    if (onMouseUp) onMouseUp(button, shift, x, y);
}

void Control::KeyDown(int& keyCode, int shift) {
    if (onKeyDown) onKeyDown(keyCode, shift);
}

void Control::KeyUp(int& keyCode, int shift) {
    if (onKeyUp) onKeyUp(keyCode, shift);
}

void Control::KeyPress(int& keyAscii) {
    if (onKeyPress) onKeyPress(keyAscii);
}

void Control::GotFocus() {
    if (onGotFocus) onGotFocus();
}

void Control::LostFocus() {
    if (onLostFocus) onLostFocus();
}

}  // namespace movra
