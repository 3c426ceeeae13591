#pragma once
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "platform/FormModel.h"

class QAction;
class QComboBox;
class QEventLoop;
class QMenu;
class QMenuBar;
class QPushButton;
class QVBoxLayout;

namespace movra {

class Platform;
class FormBinding;
struct ImageList;
class Menu;
class CommandButton;
class Toolbar;

// The top-level window of a form. It owns the binding, so that nothing the window's widgets call
// back into outlives it.
//
// A window with an owner (the main window) stays above its owner on the desktop, so that a click
// on the canvas does not send it out of sight; it opens over the owner's work area (the canvas)
// unless the form places itself, never above the work area's top (where the toolbar and the
// message line are), and always on the screen.
class FormWindow : public QWidget {
public:
    FormWindow(Platform& platform, FormModel& form, QWidget* owner = nullptr, QWidget* workArea = nullptr);
    ~FormWindow() override;
    FormBinding& Binding() { return *binding_; }
    // The area the controls are placed in (under the menu bar).
    QWidget* Client() const { return client_; }
    QVBoxLayout* Layout() const { return layout_; }
    QWidget* WorkArea() const { return workArea_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QVBoxLayout* layout_;
    QWidget* client_;
    QPointer<QWidget> workArea_;
    std::unique_ptr<FormBinding> binding_;
};

// Keeps the widgets of one form in step with its model in both directions.
class FormBinding : public QObject, public FormView {
public:
    FormBinding(Platform& platform, FormModel& form, FormWindow& window);
    ~FormBinding() override;

    FormModel* Form() const { return form_; }
    QWidget* WidgetOf(const Control& control) const;
    // The action of a menu entry or of a toolbar button's menu item.
    QAction* ActionOf(const Menu& menu) const;

    // FormView
    void FormChanged(FormModel& form, Prop prop) override;
    void ControlAdded(Control& control) override;
    void ControlRemoved(Control& control) override;
    void ShowForm(FormModel& form, bool modal) override;
    void HideForm(FormModel& form) override;
    void FormUnloaded(FormModel& form) override;

    // From the window.
    void WindowResized();
    bool WindowClosing();  // false keeps the window open
    void WindowActivated(bool active);
    bool DefaultKey(int key);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Bound {
        Control* control = nullptr;
        QPointer<QWidget> widget;
        // Toolbar: the bar's buttons and menu actions, rebuilt when buttons or menus are added.
        std::vector<QPointer<QWidget>> toolButtons;
        std::vector<QPointer<QAction>> buttonActions;
        std::vector<std::vector<QPointer<QAction>>> menuActions;
        bool autoPlaced = false;
    };

    void Detach();
    void MakeWidget(Control& control);
    QWidget* ParentWidgetOf(const Control& control) const;
    void Sync(Control& control, Prop prop);
    void SyncContent(Bound& bound, bool picturesChanged = false);
    void SyncComboItems(QComboBox* box, int count, bool picturesChanged,
                        const std::function<std::pair<QString, int>(int)>& item, const ImageList* images);
    void Place(Bound& bound);
    void PlaceAll();
    void ApplyColors(Control& control, QWidget* widget);
    void FitIcon(const CommandButton& button, QPushButton* view);
    void ApplyFont(Control& control, QWidget* widget);
    void BuildToolbar(Bound& bound);
    void SyncToolbar(Bound& bound);
    void RebuildMenuBar();
    void SyncMenu(Menu& menu);
    void SyncForm(Prop prop);
    // Puts an owned window where the form asks, or over the owner's work area (see FormWindow).
    void PlaceOwnedWindow();
    void ApplyWindowState();
    bool Alive(const Control* control) const { return bound_.count(const_cast<Control*>(control)) != 0; }
    // Runs a handler of the program; a failure it let escape is reported, never thrown into Qt.
    template <class F>
    void Run(F&& handler);
    int TwipsX() const;
    int TwipsY() const;

    Platform& platform_;
    FormModel* form_;
    FormWindow& window_;
    std::map<Control*, Bound> bound_;
    std::map<QObject*, Control*> byWidget_;
    QPointer<QMenuBar> menuBar_;
    std::map<const Menu*, QPointer<QAction>> menuActions_;
    std::vector<QPointer<QMenu>> menus_;
    // Next free place of the controls the form gave no place, per parent widget (pixels).
    std::map<QWidget*, int> autoTop_;
    QEventLoop* modalLoop_ = nullptr;
    bool syncing_ = false;
    bool resizing_ = false;
    // An owned window is placed when first shown, and again whenever the form moves it (a change of
    // size alone leaves it where the user put it).
    bool placed_ = false;
    double placedLeft_ = 0, placedTop_ = 0;
};

}  // namespace movra
