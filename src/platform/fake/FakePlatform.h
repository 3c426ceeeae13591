#pragma once
#include <memory>
#include <vector>

#include "platform/Platform.h"
#include "platform/fake/FakePictureFiles.h"
#include "platform/fake/FakeScreen.h"
#include "platform/fake/FileTypeLog.h"
#include "platform/fake/FixedFolders.h"
#include "platform/fake/LoopbackSerialPort.h"
#include "platform/fake/ManualTimer.h"
#include "platform/fake/ProgramStartLog.h"
#include "platform/fake/MemoryClipboard.h"
#include "platform/fake/RecordingPrinter.h"
#include "platform/fake/RecordingSurface.h"
#include "platform/fake/ScriptedDialogs.h"
#include "platform/fake/ScriptedEvents.h"
#include "platform/fake/ScriptedPrompt.h"
#include "platform/fake/SilentSound.h"

namespace movra {

// The whole platform as test doubles. The concrete fakes are public so a test scripts them
// directly: fake.promptScript.QueueAnswer(AnswerYes), fake.serial.LastPort()->Inject("...").
class FakePlatform : public Platform {
public:
    FakePlatform() = default;
    FakePlatform(std::string programFolder, std::string workFolder)
        : folderPair(std::move(programFolder), std::move(workFolder)) {}

    Prompt& prompt() override { return promptScript; }
    CommonDialog& dialogs() override { return dialogScript; }
    Clipboard& clipboard() override { return memoryClipboard; }
    FileTypes& fileTypes() override { return fileTypeLog; }
    Sound& sound() override { return silentSound; }
    Screen& screen() override { return fakeScreen; }
    Folders& folders() override { return folderPair; }
    Events& events() override { return scriptedEvents; }
    PictureFiles& pictureFiles() override { return pictures; }
    TimerFactory& timers() override { return manualTimers; }
    SerialPortFactory& serialPorts() override { return serial; }
    ProgramStarter& programs() override { return programLog; }
    Printer& printer() override { return recordingPrinter; }
    // A recording surface; the platform keeps a pointer to each one made (see surfaces).
    std::unique_ptr<Surface> CreateSurface(int pixelWidth, int pixelHeight) override;

    ScriptedPrompt promptScript;
    ScriptedDialogs dialogScript;
    MemoryClipboard memoryClipboard;
    FileTypeLog fileTypeLog;
    SilentSound silentSound;
    FakeScreen fakeScreen;
    FixedFolders folderPair;
    ScriptedEvents scriptedEvents;
    FakePictureFiles pictures;
    ManualTimerFactory manualTimers;
    LoopbackSerialPortFactory serial;
    ProgramStartLog programLog;
    RecordingPrinter recordingPrinter;
    // The surfaces made, in order. They belong to whoever asked for them: a pointer is valid as
    // long as its owner keeps the surface.
    std::vector<RecordingSurface*> surfaces;
};

}  // namespace movra
