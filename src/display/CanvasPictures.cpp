#include "display/CanvasPictures.h"

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/SaveFailure.h"
#include "display/LineSink.h"
#include "display/Redraw.h"
#include "display/WorkBuffer.h"
#include "display/TextRendering.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr int LargeFactor = 3;

// The format of the picture file a name asks for: a PNG or a JPEG by its extension, a bitmap for
// any other name, since a picture viewer goes by the extension.
std::string PictureFormatOf(const std::string& path) {
    const std::string name = LCase(FileNameOf(path));
    const size_t dot = name.find_last_of('.');
    const std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
    if (extension == "png") return "png";
    if (extension == "jpg" || extension == "jpeg") return "jpg";
    return "bmp";
}

void RedrawForExport(App& app) {
    // With the tilt tool armed the canvas shows the tilted view, drawn from the work buffer.
    if (app.tool.CommandMode == ModeTiltView) Draw3DView(app);
    else 刷新(app);
}

}  // namespace

void LayoutCanvas(App& app, std::int16_t mode) {
    try {
        RedrawState& state = app.display.Redraw;
        if (state.LargeBitmapExport != True || (mode != 0 && mode != True)) return;
        const Screen& screen = app.platform.screen();
        if (screen.WidthTwips() > 0)
            app.view.ScreenAspect = static_cast<double>(screen.HeightTwips()) / screen.WidthTwips();
        // A created font lives on one surface: let it go before the drawers change surface.
        ReleaseTextFont(app);
        if (mode == True) {
            if (state.LargeCanvas) return;  // already laid out
            Surface& normal = app.form1->Picture1.surface();
            auto large = app.platform.CreateSurface(normal.PixelWidth() * LargeFactor,
                                                   normal.PixelHeight() * LargeFactor);
            large->SetScale(normal.ScaleLeft(), normal.ScaleTop(), normal.ScaleWidth(), normal.ScaleHeight());
            large->SetBackColor(normal.BackColor());
            large->SetForeColor(normal.ForeColor());
            state.LargeCanvas = std::move(large);
            state.CanvasRedirect = state.LargeCanvas.get();
            state.SavedDisplayZoom = app.view.DisplayZoom;
            state.SavedGroundPerScreenMm = app.view.GroundPerScreenMm;
            // The same map window over three times the pixels.
            app.view.DisplayZoom *= LargeFactor;
            app.view.GroundPerScreenMm /= LargeFactor;
        } else {
            if (!state.LargeCanvas) return;
            state.CanvasRedirect = nullptr;
            state.LargeCanvas.reset();
            app.view.DisplayZoom = state.SavedDisplayZoom;
            app.view.GroundPerScreenMm = state.SavedGroundPerScreenMm;
        }
        // The canvas text cache belongs to the surface it was set on.
        app.display.TextFont.CanvasFontName.clear();
        app.display.TextFont.CanvasFontSize = 1;
    } catch (const RuntimeError&) {
    }
}

void SaveCanvasBitmap(App& app) {
    FileDialogRequest request;
    request.filter = "所有文件|*.*|图片文件*.bmp|*.bmp";
    request.filterIndex = 2;
    const FileDialogResult chosen = app.platform.dialogs().ShowSave(request);
    if (chosen.cancelled || chosen.fileName.empty()) return;
    // A name typed without an extension is a bitmap's, as the dialog offers.
    const std::string path = WithDefaultExtension(chosen.fileName, ".bmp");
    std::string failure;
    try {
        LayoutCanvas(app, True);
        RedrawForExport(app);
        const Picture picture = MainCanvas(app).Snapshot();
        // The picture is made in memory and written like a map: the old file stays until the new
        // one is whole.
        const std::optional<std::string> bytes = app.platform.pictureFiles().Encode(picture, PictureFormatOf(path));
        if (!bytes) Raise(ErrOutOfMemory);
        WriteWholeFile(path, *bytes);
    } catch (const std::exception& e) {
        failure = SaveFailureReason(e);
    }
    // The canvas goes back to its normal size whatever happened.
    LayoutCanvas(app, 0);
    RedrawForExport(app);
    if (!failure.empty()) TellSaveFailed(app, path, failure);
}

}  // namespace movra
