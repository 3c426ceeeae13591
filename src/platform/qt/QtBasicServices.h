#pragma once
// The small Qt services: sound, screen, folders, events and picture files.
#include <memory>
#include <string>
#include <utility>

#include "platform/Events.h"
#include "platform/Folders.h"
#include "platform/Picture.h"
#include "platform/Screen.h"
#include "platform/Sound.h"

namespace movra {

class TonePlayer;

// Tones of the asked frequency and length through the default audio output; they are queued and
// play one after another while the program goes on. With no audio device the tones are silent.
class QtSound : public Sound {
public:
    QtSound();
    ~QtSound() override;
    void Beep(int frequencyHz, int durationMs) override;

private:
    std::unique_ptr<TonePlayer> player_;
};

// The screen the program starts on, measured in twips at its logical resolution.
class QtScreen : public Screen {
public:
    int WidthTwips() const override;
    int HeightTwips() const override;
    int TwipsPerPixelX() const override;
    int TwipsPerPixelY() const override;
    std::vector<std::string> FontFamilies() const override;
};

class QtFolders : public Folders {
public:
    QtFolders(std::string programFolder, std::string workFolder)
        : program_(std::move(programFolder)), work_(std::move(workFolder)) {}
    std::string ProgramFolder() const override { return program_; }
    std::string WorkFolder() const override { return work_; }
    std::string DesktopFolder() const override;

private:
    std::string program_;
    std::string work_;
};

class QtEvents : public Events {
public:
    void DoEvents() override;
};

class QtPictureFiles : public PictureFiles {
public:
    std::optional<Picture> Load(const std::string& path) override;
    bool Save(const Picture& picture, const std::string& path) override;
    std::optional<std::string> Encode(const Picture& picture, const std::string& format) override;
};

}  // namespace movra
