#pragma once
#include <string>
#include <vector>

#include "platform/Control.h"

namespace movra {

class Platform;
class FormModel;

enum WindowStateCode : int { WindowNormal = 0, WindowMinimized = 1, WindowMaximized = 2 };

// Why a form is being unloaded, as its query-unload procedure is told.
enum UnloadModeCode : int { UnloadFromControlMenu = 0, UnloadFromCode = 1, UnloadFromWindows = 2 };

// What shows a form on the screen (the Qt binder). Headless runs have none: a form then only keeps
// its state, and a modal show returns at once.
class FormView {
public:
    virtual ~FormView() = default;
    virtual void FormChanged(FormModel& form, Prop prop) = 0;
    virtual void ControlAdded(Control& control) = 0;
    virtual void ControlRemoved(Control& control) = 0;
    // A modal show returns when the form has been hidden or unloaded.
    virtual void ShowForm(FormModel& form, bool modal) = 0;
    virtual void HideForm(FormModel& form) = 0;
    // The form was unloaded or destroyed: the view lets go of it.
    virtual void FormUnloaded(FormModel& form) = 0;
};

// Finds a view for a form that is shown before anyone bound it (a dialog opened by a command).
class FormPresenter {
public:
    virtual ~FormPresenter() = default;
    virtual void Present(FormModel& form) = 0;
};

// A window of the program: its caption, place (twips), state, the controls it holds in creation
// order, and the load, query-unload, unload and resize procedures a window overrides.
class FormModel {
public:
    FormModel(Platform& platform, std::string name);
    virtual ~FormModel();
    FormModel(const FormModel&) = delete;
    FormModel& operator=(const FormModel&) = delete;

    Platform& platform() const { return platform_; }
    const std::string& Name() const { return name_; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

    // Outer place and size in twips; 0 width or height lets the view size the window to its controls.
    double Left() const { return left_; }
    double Top() const { return top_; }
    double Width() const { return width_; }
    double Height() const { return height_; }
    void Move(double left, double top, double width, double height);
    void SetWidth(double width) { Move(left_, top_, width, height_); }
    void SetHeight(double height) { Move(left_, top_, width_, height); }
    // The inner area where controls are placed, in twips.
    double ScaleWidth() const { return scaleWidth_; }
    double ScaleHeight() const { return scaleHeight_; }

    int WindowState() const { return windowState_; }
    void SetWindowState(int state);
    Rgb BackColor() const { return backColor_; }
    void SetBackColor(Rgb color);

    bool Loaded() const { return loaded_; }
    bool Visible() const { return visible_; }
    bool Modal() const { return modal_; }
    // Runs Form_Load once; Show loads first when needed.
    void Load();
    void Show(bool modal = false);
    void Hide();
    // Asks Form_QueryUnload and Form_Unload; false when either cancelled.
    bool Unload(int unloadMode = UnloadFromCode);

    // The procedures a window overrides.
    virtual void Form_Load() {}
    virtual void Form_QueryUnload(int& /*cancel*/, int& /*unloadMode*/) {}
    virtual void Form_Unload(int& /*cancel*/) {}
    virtual void Form_Resize() {}
    virtual void Form_Activate() {}
    // The window became the active window, or another window did.
    virtual void Form_GotFocus() {}
    virtual void Form_LostFocus() {}
    // A click on the window's empty area.
    virtual void Form_Click() {}

    // The controls in creation order; the first one with the name, or null.
    const std::vector<Control*>& Controls() const { return controls_; }
    Control* FindControl(const std::string& name) const;

    // Called by controls as they are made and destroyed.
    void AddControl(Control& control);
    void RemoveControl(Control& control);
    // Stack numbers in front of, and behind, every control's so far (see Control::ZOrder).
    long NextFrontOrder() { return ++frontOrder_; }
    long NextBackOrder() { return --backOrder_; }
    // Tells the view about a control made after the form was bound (an element of a control array),
    // once the control is complete.
    void ControlLoaded(Control& control);

    // The view's side.
    FormView* View() const { return view_; }
    void SetView(FormView* view) { view_ = view; }
    // The user resized the window (sizes in twips): the state is taken over and Form_Resize runs.
    void ViewResized(double width, double height, double scaleWidth, double scaleHeight,
                     int windowState);
    // The view shows forms that are shown without one. One presenter serves the program.
    static void SetPresenter(FormPresenter* presenter);
    static FormPresenter* Presenter();

private:
    void Notify(Prop prop) {
        if (view_) view_->FormChanged(*this, prop);
    }

    Platform& platform_;
    std::string name_;
    std::string caption_;
    double left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    double scaleWidth_ = 0, scaleHeight_ = 0;
    int windowState_ = WindowNormal;
    Rgb backColor_ = SystemColor;
    bool loaded_ = false;
    bool loading_ = false;
    bool visible_ = false;
    bool modal_ = false;
    std::vector<Control*> controls_;
    long frontOrder_ = 0;
    long backOrder_ = 0;
    FormView* view_ = nullptr;
};

}  // namespace movra
