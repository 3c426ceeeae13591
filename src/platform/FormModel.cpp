#include "platform/FormModel.h"

#include <algorithm>

namespace movra {

namespace {
FormPresenter* presenter = nullptr;
}

void FormModel::SetPresenter(FormPresenter* p) { presenter = p; }
FormPresenter* FormModel::Presenter() { return presenter; }

FormModel::FormModel(Platform& platform, std::string name) : platform_(platform), name_(std::move(name)) {}

FormModel::~FormModel() {
    if (view_) view_->FormUnloaded(*this);
}

void FormModel::SetCaption(const std::string& caption) {
    if (caption_ == caption) return;
    caption_ = caption;
    Notify(Prop::Text);
}

void FormModel::Move(double left, double top, double width, double height) {
    width = std::max(0.0, width);
    height = std::max(0.0, height);
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    // Until the view reports the real inner area, the whole window counts as inner area.
    scaleWidth_ = width;
    scaleHeight_ = height;
    Notify(Prop::Geometry);
}

void FormModel::SetWindowState(int state) {
    if (state != WindowNormal && state != WindowMinimized && state != WindowMaximized) return;
    if (windowState_ == state) return;
    windowState_ = state;
    Notify(Prop::Geometry);
}

void FormModel::SetBackColor(Rgb color) {
    if (backColor_ == color) return;
    backColor_ = color;
    Notify(Prop::Color);
}

void FormModel::Load() {
    if (loaded_ || loading_) return;
    loading_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{loading_};
    Form_Load();
    loaded_ = true;
}

void FormModel::Show(bool modal) {
    Load();
    visible_ = true;
    modal_ = modal;
    if (!view_ && presenter) presenter->Present(*this);
    if (view_) view_->ShowForm(*this, modal);
}

void FormModel::Hide() {
    if (!visible_) return;
    visible_ = false;
    if (view_) view_->HideForm(*this);
}

bool FormModel::Unload(int unloadMode) {
    if (!loaded_) return true;
    int cancel = 0;
    Form_QueryUnload(cancel, unloadMode);
    if (cancel != 0) return false;
    Form_Unload(cancel);
    if (cancel != 0) return false;
    loaded_ = false;
    visible_ = false;
    if (view_) view_->FormUnloaded(*this);
    return true;
}

Control* FormModel::FindControl(const std::string& name) const {
    for (Control* control : controls_)
        if (control->Name() == name) return control;
    return nullptr;
}

void FormModel::AddControl(Control& control) {
    controls_.push_back(&control);
}

void FormModel::ControlLoaded(Control& control) {
    if (view_) view_->ControlAdded(control);
}

void FormModel::RemoveControl(Control& control) {
    if (view_) view_->ControlRemoved(control);
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
}

void FormModel::ViewResized(double width, double height, double scaleWidth, double scaleHeight,
                            int windowState) {
    width_ = width;
    height_ = height;
    scaleWidth_ = scaleWidth;
    scaleHeight_ = scaleHeight;
    windowState_ = windowState;
    Form_Resize();
}

}  // namespace movra
