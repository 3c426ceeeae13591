#include "app/MainProgram.h"

#include "platform/qt/QtSurface.h"

namespace movra {

MainProgram::MainProgram(const std::string& programFolder, const std::string& workFolder)
    : platform(programFolder, workFolder), app(platform), form1(app), binder(platform) {}

MainProgram::~MainProgram() {
    if (FormModel::Presenter() == &binder) FormModel::SetPresenter(nullptr);
}

QWidget* MainProgram::Start() {
    UseChineseUiFont();
    binder.Install();
    window = binder.Bind(form1);
    form1.Show();
    return window;
}

}  // namespace movra
