#pragma once
#include <memory>
#include <string>

#include "platform/Platform.h"

namespace movra {

class QtPrompt;
class QtCommonDialog;
class QtClipboard;
class QtFileTypes;
class QtSound;
class QtScreen;
class QtFolders;
class QtEvents;
class QtPictureFiles;
class QtTimerFactory;
class QtSerialPortFactory;
class QtPrinter;
class QtProgramStarter;

// The platform over Qt 6. Made after the QApplication exists; lives as long as the windows.
class QtPlatform : public Platform {
public:
    QtPlatform(const std::string& programFolder, const std::string& workFolder);
    ~QtPlatform() override;
    QtPlatform(const QtPlatform&) = delete;
    QtPlatform& operator=(const QtPlatform&) = delete;

    Prompt& prompt() override;
    CommonDialog& dialogs() override;
    Clipboard& clipboard() override;
    FileTypes& fileTypes() override;
    Sound& sound() override;
    Screen& screen() override;
    Folders& folders() override;
    Events& events() override;
    PictureFiles& pictureFiles() override;
    TimerFactory& timers() override;
    SerialPortFactory& serialPorts() override;
    ProgramStarter& programs() override;
    // The default printer; without one, a PDF printer writing print.pdf in the work folder.
    Printer& printer() override;
    // A QtSurface (the binder reaches its image and repaint hook through dynamic_cast).
    std::unique_ptr<Surface> CreateSurface(int pixelWidth, int pixelHeight) override;
    // Sends a print document still open, as leaving the program does.
    void FinishPrinting();

private:
    std::unique_ptr<QtPrompt> prompt_;
    std::unique_ptr<QtCommonDialog> dialogs_;
    std::unique_ptr<QtClipboard> clipboard_;
    std::unique_ptr<QtFileTypes> fileTypes_;
    std::unique_ptr<QtSound> sound_;
    std::unique_ptr<QtScreen> screen_;
    std::unique_ptr<QtFolders> folders_;
    std::unique_ptr<QtEvents> events_;
    std::unique_ptr<QtPictureFiles> pictureFiles_;
    std::unique_ptr<QtTimerFactory> timers_;
    std::unique_ptr<QtSerialPortFactory> serialPorts_;
    std::unique_ptr<QtProgramStarter> programs_;
    std::string workFolder_;
    std::unique_ptr<QtPrinter> printer_;
};

}  // namespace movra
