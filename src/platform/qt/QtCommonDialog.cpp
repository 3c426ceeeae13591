#include "platform/qt/QtCommonDialog.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>

namespace movra {

namespace {
QString FromUtf8(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// The window a dialog stands over. A window just closed can still be the active one while its
// deletion waits in the event queue; a dialog made its child would be deleted with it while it runs.
QWidget* DialogParent() {
    QWidget* active = QApplication::activeWindow();
    return active && active->isVisible() ? active : nullptr;
}
}  // namespace

QStringList ToQtNameFilters(const std::string& filter) {
    QStringList parts = FromUtf8(filter).split('|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(';', Qt::SkipEmptyParts)) {
            QString clean = pattern.trimmed();
            if (!clean.isEmpty()) patterns << clean;
        }
        if (patterns.isEmpty()) patterns << QStringLiteral("*");
        if (description.isEmpty()) description = patterns.join(' ');
        filters << QStringLiteral("%1 (%2)").arg(description, patterns.join(' '));
    }
    return filters;
}

FileDialogResult QtCommonDialog::Show(const FileDialogRequest& request, bool save) {
    std::string folder = request.initialDir;
    if (folder.empty()) folder = lastFolder_;
    if (folder.empty() && defaultFolder) folder = defaultFolder();
    QFileDialog dialog(DialogParent(), FromUtf8(request.title), FromUtf8(folder));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save || !request.fileMustExist ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (save && !request.overwritePrompt) dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    QStringList filters = ToQtNameFilters(request.filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        int index = request.filterIndex >= 1 && request.filterIndex <= filters.size() ? request.filterIndex : 1;
        dialog.selectNameFilter(filters[index - 1]);
    }
    if (!request.fileName.empty()) dialog.selectFile(FromUtf8(request.fileName));

    FileDialogResult result;
    result.filterIndex = request.filterIndex;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return result;
    result.cancelled = false;
    result.fileName = dialog.selectedFiles().first().toStdString();
    lastFolder_ = QFileInfo(dialog.selectedFiles().first()).absolutePath().toStdString();
    qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
    if (chosen >= 0) result.filterIndex = static_cast<int>(chosen) + 1;
    return result;
}

FileDialogResult QtCommonDialog::ShowOpen(const FileDialogRequest& request) { return Show(request, false); }
FileDialogResult QtCommonDialog::ShowSave(const FileDialogRequest& request) { return Show(request, true); }

std::optional<Rgb> QtCommonDialog::ShowColor(Rgb initial) {
    QColor chosen = QColorDialog::getColor(QColor(RedOf(initial), GreenOf(initial), BlueOf(initial)),
                                           DialogParent());
    if (!chosen.isValid()) return std::nullopt;
    return MakeRgb(chosen.red(), chosen.green(), chosen.blue());
}

void QtCommonDialog::ShowPrinter() {
    // The system's own dialog over its default printer; nothing chosen there is read back.
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, DialogParent());
    dialog.exec();
}

}  // namespace movra
