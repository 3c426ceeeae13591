#pragma once
#include <QPointer>
#include <map>

#include "platform/FormModel.h"

class QAction;
class QWidget;

namespace movra {

class FormWindow;
class Menu;
class Platform;

// Uses a Chinese sans-serif face for every window, so captions and labels never show boxes.
void UseChineseUiFont();

// Shows form models as real windows: one binder for every form of the program. A form is bound
// once; its Show, Hide and Unload then act on its window, and what the user does reaches the
// form's event procedures.
class Binder : public FormPresenter {
public:
    explicit Binder(Platform& platform);
    ~Binder() override;
    Binder(const Binder&) = delete;
    Binder& operator=(const Binder&) = delete;

    // Makes (or finds) the window of the form with the widgets of its controls. Not shown yet.
    QWidget* Bind(FormModel& form);
    // Null while the form has no window.
    QWidget* WindowOf(const FormModel& form) const;
    QWidget* WidgetOf(const Control& control) const;
    QAction* ActionOf(const Menu& menu) const;

    // Every window bound from now on belongs to the owner (the main window): it stays above it and
    // opens over the work area (the canvas). Windows bound before keep no owner.
    void SetOwner(QWidget* owner, QWidget* workArea);

    // Makes this binder the one that shows forms the program shows before anyone bound them.
    void Install() { FormModel::SetPresenter(this); }
    void Present(FormModel& form) override { Bind(form); }

private:
    FormWindow* LiveWindow(const FormModel& form) const;
    Platform& platform_;
    QPointer<QWidget> owner_;
    QPointer<QWidget> workArea_;
    std::map<const FormModel*, QPointer<FormWindow>> windows_;
};

}  // namespace movra
