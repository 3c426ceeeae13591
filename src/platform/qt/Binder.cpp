#include "platform/qt/Binder.h"

#include <QApplication>

#include "platform/Menu.h"
#include "platform/qt/FormBinding.h"
#include "platform/qt/QtFontSubstitution.h"

namespace movra {

void UseChineseUiFont() {
    QFont font = QApplication::font();
    font.setFamily(SubstituteFontFamily("黑体"));
    QApplication::setFont(font);
}

Binder::Binder(Platform& platform) : platform_(platform) {}

Binder::~Binder() {
    if (FormModel::Presenter() == this) FormModel::SetPresenter(nullptr);
    for (auto& [form, window] : windows_) delete window.data();
}

FormWindow* Binder::LiveWindow(const FormModel& form) const {
    auto found = windows_.find(&form);
    if (found == windows_.end() || !found->second) return nullptr;
    // A window whose form was unloaded is on its way out.
    FormWindow* window = found->second;
    return window->Binding().Form() == &form ? window : nullptr;
}

QWidget* Binder::Bind(FormModel& form) {
    if (FormWindow* window = LiveWindow(form)) return window;
    auto* window = new FormWindow(platform_, form, owner_.data(), owner_ ? workArea_.data() : nullptr);
    windows_[&form] = window;
    return window;
}

void Binder::SetOwner(QWidget* owner, QWidget* workArea) {
    owner_ = owner;
    workArea_ = workArea;
}

QWidget* Binder::WindowOf(const FormModel& form) const { return LiveWindow(form); }

QWidget* Binder::WidgetOf(const Control& control) const {
    FormWindow* window = LiveWindow(control.Form());
    return window ? window->Binding().WidgetOf(control) : nullptr;
}

QAction* Binder::ActionOf(const Menu& menu) const {
    FormWindow* window = LiveWindow(menu.Form());
    return window ? window->Binding().ActionOf(menu) : nullptr;
}

}  // namespace movra
