#include "platform/qt/QtPlatform.h"

#include "platform/qt/QtBasicServices.h"
#include "platform/qt/QtClipboard.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtFileTypes.h"
#include "platform/qt/QtPrinter.h"
#include "platform/qt/QtProgramStarter.h"
#include "platform/qt/QtPrompt.h"
#include "platform/qt/QtSerialPort.h"
#include "platform/qt/QtSurface.h"
#include "platform/qt/QtTimer.h"

namespace movra {

QtPlatform::QtPlatform(const std::string& programFolder, const std::string& workFolder)
    : prompt_(std::make_unique<QtPrompt>()),
      dialogs_(std::make_unique<QtCommonDialog>()),
      clipboard_(std::make_unique<QtClipboard>()),
      fileTypes_(std::make_unique<QtFileTypes>()),
      sound_(std::make_unique<QtSound>()),
      screen_(std::make_unique<QtScreen>()),
      folders_(std::make_unique<QtFolders>(programFolder, workFolder)),
      events_(std::make_unique<QtEvents>()),
      pictureFiles_(std::make_unique<QtPictureFiles>()),
      timers_(std::make_unique<QtTimerFactory>()),
      serialPorts_(std::make_unique<QtSerialPortFactory>()),
      programs_(std::make_unique<QtProgramStarter>()),
      workFolder_(workFolder) {}

QtPlatform::~QtPlatform() = default;

Prompt& QtPlatform::prompt() { return *prompt_; }
CommonDialog& QtPlatform::dialogs() { return *dialogs_; }
Clipboard& QtPlatform::clipboard() { return *clipboard_; }
FileTypes& QtPlatform::fileTypes() { return *fileTypes_; }
Sound& QtPlatform::sound() { return *sound_; }
Screen& QtPlatform::screen() { return *screen_; }
Folders& QtPlatform::folders() { return *folders_; }
Events& QtPlatform::events() { return *events_; }
PictureFiles& QtPlatform::pictureFiles() { return *pictureFiles_; }
TimerFactory& QtPlatform::timers() { return *timers_; }
SerialPortFactory& QtPlatform::serialPorts() { return *serialPorts_; }
ProgramStarter& QtPlatform::programs() { return *programs_; }

void QtPlatform::FinishPrinting() {
    if (!printer_) return;
    // At exit there is no one left to tell: a document that cannot be written is dropped.
    try {
        printer_->EndDoc();
    } catch (...) {
        try {
            printer_->KillDoc();
        } catch (...) {
        }
    }
}

Printer& QtPlatform::printer() {
    // Made when first asked for: looking for the system's printers takes a moment.
    if (!printer_) printer_ = std::make_unique<QtPrinter>(workFolder_ + "/print.pdf");
    return *printer_;
}

std::unique_ptr<Surface> QtPlatform::CreateSurface(int pixelWidth, int pixelHeight) {
    return std::make_unique<QtSurface>(pixelWidth, pixelHeight);
}

}  // namespace movra
