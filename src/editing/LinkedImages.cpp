#include "editing/LinkedImages.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "document/SlotEditing.h"
#include "editing/ToolEngine.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr const char* InsertFilter = "所有文件|*.*|图片文件.bmp|*.bmp|jpg文件.jpg|*.jpg";
constexpr const char* BackgroundFilter = "所有文件|*.*|图片文件*.bmp|*.bmp";
constexpr std::int16_t LastHolder = ImageHolderCount - 1;

void WriteText2(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

// The open dialog of the picture commands; empty when the user cancels.
std::optional<std::string> AskForPicture(App& app, const char* filter, int filterIndex) {
    FileDialogRequest request;
    request.filter = filter;
    request.filterIndex = filterIndex;
    const FileDialogResult chosen = app.platform.dialogs().ShowOpen(request);
    if (chosen.cancelled || chosen.fileName.empty()) return std::nullopt;
    return chosen.fileName;
}

bool Inside(const MapRecord& r, double x, double y) {
    return r.RecordX1 < x && x < r.RecordX1 + r.RecordX2 && r.RecordY1 + r.RecordY2 < y && y < r.RecordY1;
}

// The picked image record, when the pick still names one.
MapRecord* PickedImage(App& app) {
    const LinkedImageState& pick = app.linkedImages;
    RecordStore& store = app.store;
    const int layer = pick.ImageRecordLayer;
    const int slot = pick.ImageRecordSlot;
    if (layer < 1 || layer > std::min<int>(store.LayerCount, store.LayerDimension()) || slot < 0 || slot >= store.Count(layer) ||
        slot > store.LayerCapacity)
        return nullptr;
    MapRecord& r = store.At(layer, slot);
    return r.RecordType == TypeImage ? &r : nullptr;
}

// The region of a picture cut out as a picture of its own.
Picture CutRegion(const Picture& source, int left, int top, int width, int height) {
    Picture cut;
    cut.width = width;
    cut.height = height;
    cut.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        std::copy_n(source.pixels.begin() + static_cast<std::ptrdiff_t>(top + y) * source.width + left, width,
                    cut.pixels.begin() + static_cast<std::ptrdiff_t>(y) * width);
    return cut;
}

// The name of the cut copy: the picture's path up to its extension's dot, then "c.bmp". Empty
// when the file name has no extension (a dot of a folder name does not count).
std::string CroppedCopyPath(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    const std::size_t separator = path.find_last_of("\\/");
    if (dot == std::string::npos || (separator != std::string::npos && dot < separator)) return {};
    return path.substr(0, dot) + "c.bmp";
}

}  // namespace

int ImageStagingSlot(int holder) { return Layer0Slots::ImageStagingFirst + holder; }

int HitTestLinkedImage(App& app, float x, float y) {
    int flag = 0;
    GuardToMessageLine([&app](const std::string& text) { WriteText2(app, text); }, [&] {
        RecordStore& store = app.store;
        LinkedImageState& pick = app.linkedImages;
        const int layerCount = std::min<int>(store.LayerCount, store.LayerDimension());
        for (int l = 1; l <= layerCount; ++l) {
            if (store.LayerOnFlag[static_cast<std::size_t>(l)] != -1 || store.Count(l) < 1) continue;
            const int last = std::min<int>(store.Count(l) - 1, store.LayerCapacity);
            for (int k = 0; k <= last; ++k) {
                const MapRecord& r = store.Get(l, k);
                if (r.RecordType != TypeImage || !Inside(r, x, y)) continue;
                flag = -1;
                // The picture picked last is passed over, so that the one under it comes next.
                if (l == pick.ImageRecordLayer && k == pick.ImageRecordSlot) continue;
                pick.ImageRecordLayer = static_cast<std::uint8_t>(l);
                pick.ImageRecordSlot = static_cast<std::int16_t>(k);
                return;
            }
        }
        if (flag == 0) {
            pick.ImageRecordLayer = 0;
            pick.ImageRecordSlot = 0;
        }
    });
    return flag;
}

void TakeImageRect(App& app, int layer, int slot) {
    const MapRecord& r = app.store.Get(layer, slot);
    double* rect = app.tool.ImageRect;
    rect[0] = r.RecordX1;
    rect[1] = r.RecordY1;
    rect[2] = r.RecordX2;
    rect[3] = r.RecordY2;
}

void InsertLinkedImage(App& app) {
    if (app.tool.SymbolMakingMode == -1) return;
    const bool done = GuardSilently([&] {
        const std::optional<std::string> path = AskForPicture(app, InsertFilter, 1);
        if (!path) Raise(CancelErrorNumber);
        app.current.LastPicturePath = *path;
        std::int16_t& holder = app.mapFile.LastImageSlot;
        holder = holder >= LastHolder ? 0 : static_cast<std::int16_t>(holder + 1);
        RecordImageState& images = app.display.Images;
        images.Image1[static_cast<std::size_t>(holder)] = Picture{};
        images.ImageSlotNames[static_cast<std::size_t>(holder)].clear();
        std::optional<Picture> picture = app.platform.pictureFiles().Load(*path);
        if (!picture || picture->Empty()) Raise(ErrFileNotFound);
        images.Image1[static_cast<std::size_t>(holder)] = std::move(*picture);
        images.ImageSlotNames[static_cast<std::size_t>(holder)] = *path;
        const Picture& held = images.Image1[static_cast<std::size_t>(holder)];

        MapRecord& staged = app.store.At(0, ImageStagingSlot(holder));
        const Screen& screen = app.platform.screen();
        staged.RecordX1 = app.tool.PressPoint.x;
        staged.RecordY1 = app.tool.PressPoint.y;
        staged.RecordX2 = Int(held.width * screen.TwipsPerPixelX() / TwipsPerImageUnit);
        staged.RecordY2 = Int(held.height * screen.TwipsPerPixelY() / TwipsPerImageUnit);
        staged.RecordText = *path;
        staged.RecordColor = holder;
        if (app.form1)
            app.form1->Picture1.surface().PaintPicture(held, staged.RecordX1, staged.RecordY1, staged.RecordX2,
                                                       -staged.RecordY2);
    });
    if (!done) app.tool.CommandMode = ModeIdle;
}

void DeleteSelectionOrStagedImage(App& app) {
    app.display.Redraw.SuppressTerrainPoints = 0;
    if (app.tool.CommandMode == ModePlaceImage) {
        const std::int16_t holder = app.mapFile.LastImageSlot;
        if (holder >= 0 && holder < ImageHolderCount) {
            app.display.Images.Image1[static_cast<std::size_t>(holder)] = Picture{};
            app.display.Images.ImageSlotNames[static_cast<std::size_t>(holder)].clear();
            app.store.At(0, ImageStagingSlot(holder)).RecordColor = 0;
        }
    } else if (app.tool.SelectionMade == -1) {
        DeleteSelectionWithUndo(app);
        刷新(app);
    }
    DisableSelectionButtons(app);
}

void CropLinkedImage(App& app) {
    GuardSilently([&] {
        MapRecord* record = PickedImage(app);
        if (!record || record->RecordX2 <= 0 || record->RecordY2 == 0) return;
        MapRecord& r = *record;
        const int holder = r.RecordColor & 255;
        if (holder >= ImageHolderCount) return;
        RecordImageState& images = app.display.Images;
        if (images.Image1[static_cast<std::size_t>(holder)].Empty())
            LoadRecordImage(app, app.linkedImages.ImageRecordLayer, app.linkedImages.ImageRecordSlot);
        const Picture& source = images.Image1[static_cast<std::size_t>(holder)];
        if (source.Empty()) return;

        // The range in pixels, each value cut to a whole number.
        const CanvasXY press = app.tool.PressPoint;
        const CanvasXY release = app.tool.ReleasePoint;
        const double w = source.width, h = source.height;
        const double across = r.RecordX2, down = std::abs(r.RecordY2);
        const double left = Int((press.x - r.RecordX1) * w / across);
        const double top = Int((r.RecordY1 - press.y) * h / down);
        const double width = Int((release.x - press.x) * w / across);
        const double rows = Int((press.y - release.y) * h / down);
        if (left < 0 || top < 0 || width < 1 || rows < 1 || left + width > w || top + rows > h) return;

        const std::string target = CroppedCopyPath(r.RecordText);
        if (target.empty()) return;
        if (FileExists(target) &&
            app.platform.prompt().MsgBox(target + " 已存在，要替换吗？是_替换，否_不裁留", MsgYesNo, "图像裁留") !=
                AnswerYes)
            return;
        Picture cut = CutRegion(source, static_cast<int>(left), static_cast<int>(top), static_cast<int>(width),
                                static_cast<int>(rows));
        if (!app.platform.pictureFiles().Save(cut, target)) return;

        Clipboard& clipboard = app.platform.clipboard();
        clipboard.Clear();
        clipboard.SetPicture(cut);
        images.Image1[static_cast<std::size_t>(holder)] = std::move(cut);
        images.ImageSlotNames[static_cast<std::size_t>(holder)] = target;
        r.RecordX1 = press.x;
        r.RecordY1 = press.y;
        r.RecordX2 = release.x - press.x;
        r.RecordY2 = release.y - press.y;
        r.RecordText = target;
        app.current.ModifiedFlag = -1;
    });
}

void LoadBackgroundBitmap(App& app) {
    GuardSilently([&] {
        if (!app.form1) return;
        const std::optional<std::string> path = AskForPicture(app, BackgroundFilter, 2);
        if (!path) return;
        app.current.LastPicturePath = *path;
        std::optional<Picture> picture = app.platform.pictureFiles().Load(*path);
        if (!picture || picture->Empty()) return;
        app.form1->Picture1.SetPicture(*picture);
        刷新(app);
    });
}

void UnloadBackgroundBitmap(App& app) {
    if (app.form1) app.form1->Picture1.SetPicture(Picture{});
    刷新(app);
}

}  // namespace movra
