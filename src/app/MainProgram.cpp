#include "app/MainProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <algorithm>
#include <cmath>

#include "document/OpenDialogs.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtSurface.h"
#include "shell/ViewStateFormulas.h"

namespace movra {

void UseChineseQtTexts() {
    // Qt's own texts (the buttons of message boxes, the file dialogs and their errors) in the
    // program's language. Installed once for the whole application.
    static QTranslator* installed = nullptr;
    if (installed || !QCoreApplication::instance()) return;
    const QLocale chinese(QLocale::Chinese, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    installed = translator;
}

MainProgram::MainProgram(const std::string& programFolder, const std::string& workFolder)
    : platform(programFolder, workFolder), app(platform), form1(app), binder(platform) {
    // A file dialog that is given no folder opens where the open map lies, else in the work folder.
    static_cast<QtCommonDialog&>(platform.dialogs()).defaultFolder = [this] {
        const std::string& path = app.current.DialogFilePath;
        if (!path.empty()) {
            const QFileInfo file(QString::fromStdString(path));
            if (file.absoluteDir().exists()) return file.absolutePath().toStdString();
        }
        return platform.folders().WorkFolder();
    };
}

MainProgram::~MainProgram() {
    if (FormModel::Presenter() == &binder) FormModel::SetPresenter(nullptr);
}

QWidget* MainProgram::Start(const std::string& mapPath) {
    UseChineseUiFont();
    UseChineseQtTexts();
    binder.Install();
    window = binder.Bind(form1);
    // Every other window belongs to the main window and opens over its canvas.
    binder.SetOwner(window, binder.WidgetOf(form1.Picture1));
    // The selector column and the method panel under it need this much room; a smaller window
    // would cut them off.
    if (QWidget* canvas = binder.WidgetOf(form1.Picture1); canvas && canvas->parentWidget())
        canvas->parentWidget()->setMinimumSize(
            static_cast<int>(std::ceil(MinimumClientWidth / std::max(1, platform.screen().TwipsPerPixelX()))),
            static_cast<int>(std::ceil(MinimumClientHeight / std::max(1, platform.screen().TwipsPerPixelY()))));
    form1.Show();
    if (!mapPath.empty()) OpenNamedMap(app, mapPath);
    return window;
}

}  // namespace movra
