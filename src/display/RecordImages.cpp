#include "display/RecordImages.h"

#include <optional>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"

namespace movra {

namespace {

constexpr const char* PictureFilter = "所有文件|*.*|图片文件.bmp|*.bmp|jpg文件.jpg|*.jpg";

bool UsableFile(const std::string& path) {
    try {
        return !path.empty() && FileExists(path) && FileLength(path) > 0;
    } catch (const RuntimeError&) {
        return false;
    }
}

// The folder of a path: what stands before its last separator, either kind.
std::string FolderOf(const std::string& path) {
    const size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

// The stored path, or the same file name in the folder last located by hand (the root when no
// folder was located yet), or a file the user picks. Empty when the user cancels.
std::optional<std::string> LocatePicture(App& app, const std::string& stored) {
    RecordImageState& images = app.display.Images;
    std::string path = stored;
    if (UsableFile(path)) return path;
    const std::string folder = images.ImageSearchFolder.empty() ? "/" : images.ImageSearchFolder;
    path = JoinPath(folder, FileNameOf(stored));
    if (UsableFile(path)) return path;

    // Asked once per picture and map: a redraw must not ask again for what the user could not find.
    if (!images.LocateAsked.insert(LCase(stored)).second) return std::nullopt;
    app.platform.prompt().MsgBox(path + "_文件未找到，请定位！", MsgOkOnly);
    FileDialogRequest request;
    request.filter = PictureFilter;
    request.filterIndex = 1;
    const FileDialogResult chosen = app.platform.dialogs().ShowOpen(request);
    if (chosen.cancelled) return std::nullopt;
    if (UsableFile(chosen.fileName)) images.ImageSearchFolder = FolderOf(chosen.fileName);
    return chosen.fileName;
}

}  // namespace

void LoadRecordImage(App& app, std::uint8_t layer, std::int16_t slot) {
    try {
        MapRecord& record = app.store.At(layer, slot);
        RecordImageState& images = app.display.Images;
        int holder = record.RecordColor & 255;
        if (holder < ImageHolderCount && EqualsIgnoreCase(record.RecordText, images.ImageSlotNames[holder]))
            return;

        std::string& counter = images.ImageSlotNames[ImageLoadCounterIndex];
        const std::int32_t loads = ToInt32(Val(counter)) + 1;
        counter = PlainNumberText(loads);
        if (loads > MaxImageLoadsPerRedraw) return;

        const std::optional<std::string> path = LocatePicture(app, record.RecordText);
        if (!path) return;
        if (holder >= ImageHolderCount) {
            record.RecordColor = 0;
            holder = 0;
        }
        std::optional<Picture> picture = app.platform.pictureFiles().Load(*path);
        // A file that is no picture leaves an empty holder under its name: the record is drawn
        // as a missing picture, and the file is not decoded again at every redraw.
        images.Image1[holder] = picture ? std::move(*picture) : Picture{};
        images.ImageSlotNames[holder] = *path;
        if (holder > app.mapFile.LastImageSlot) app.mapFile.LastImageSlot = static_cast<std::int16_t>(holder);
        record.RecordText = *path;
    } catch (const RuntimeError&) {
        // The holder, its name and the record's path keep their values; the count stays raised.
    }
}

const Picture* OwnPictureOf(const App& app, const MapRecord& record) {
    const int holder = record.RecordColor & 255;
    if (holder >= ImageHolderCount) return nullptr;
    const RecordImageState& images = app.display.Images;
    const Picture& picture = images.Image1[static_cast<size_t>(holder)];
    if (picture.Empty() || !EqualsIgnoreCase(record.RecordText, images.ImageSlotNames[static_cast<size_t>(holder)]))
        return nullptr;
    return &picture;
}

void ResetImageLoadCounter(App& app) {
    app.display.Images.ImageSlotNames[ImageLoadCounterIndex] = std::string(1, '0');
}

}  // namespace movra
