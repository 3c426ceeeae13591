#include "survey/xpdxFrm.h"

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "editing/ConstructionSupport.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Paper millimetres of margin between the oriented photo's anchor and the canvas's upper left.
constexpr double AnchorMarginMm = 20;

// The image record the picks were made on, or null when it is no longer a live image there.
MapRecord* PickedImage(App& app, const LinkedImageState& photo) {
    RecordStore& store = app.store;
    const int layer = photo.ImageRecordLayer, slot = photo.ImageRecordSlot;
    if (layer > store.LayerCount || layer > store.LayerDimension() || slot < 0 || slot >= store.Count(layer) ||
        slot > store.LayerCapacity)
        return nullptr;
    if (store.Get(layer, slot).RecordType != TypeImage) return nullptr;
    return &store.At(layer, slot);
}

}  // namespace

xpdxFrm::xpdxFrm(App& application)
    : FormModel(application.platform, "xpdxFrm"),
      app(application),
      Command1(*this, "Command1"), Text1(*this, "Text1"), Text2(*this, "Text2"),
      Command2(*this, "Command2"), Command3(*this, "Command3"), Label1(*this, "Label1"),
      photo(application.linkedImages) {
    SetCaption("相片定向");
    Move(0, 0, 6400, 3600);
    // The corners in the order of their numbers, one row each: button, x, y, z.
    const char* corners[4] = {"左上刺点", "右下刺点", "右上刺点", "左下刺点"};
    for (int k = 0; k < 4; ++k) {
        const double top = 150 + k * 480;
        Command1.Load(k).SetCaption(corners[k]);
        Command1(k).Move(120, top, 1300, 400);
        const std::string n = PlainNumberText(static_cast<std::int32_t>(k + 1));
        TextBox& x = Text1.Load(2 * k);
        x.SetText("x" + n);
        x.Move(1550, top, 1500, 400);
        TextBox& y = Text1.Load(2 * k + 1);
        y.SetText("y" + n);
        y.Move(3150, top, 1500, 400);
        TextBox& z = Text2.Load(k);
        z.SetText("z" + n);
        z.Move(4750, top, 1400, 400);
    }
    Label1.SetCaption("相片名：");
    Label1.Move(120, 2200, 6000, 300);
    Command2.SetCaption("纠正相片");
    Command2.Move(3150, 2650, 1500, 450);
    Command3.SetCaption("取消");
    Command3.SetCancel(true);
    Command3.Move(4750, 2650, 1400, 450);

    Command1.Wire([this](CommandButton& button, int index) { button.onClick = [this, index] { Command1_Click(index); }; });
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Label1.onClick = [this] { Label1_Click(); };
}

void xpdxFrm::Form_Load() {
    // The picks of earlier openings stay: the photo can be oriented again at once.
}

void xpdxFrm::Command1_Click(int index) {
    photo.PhotoCornerIndex = static_cast<std::uint8_t>(index);
    app.tool.CommandMode = ModeControlPoint;
    // A corner is pricked where the user clicks on the picture, not at a map vertex.
    SwitchSnapping(app, false);
    Hide();
}

void xpdxFrm::Command2_Click() {
    GuardToMessageBox(app.platform.prompt(), [this] {
        Prompt& prompt = app.platform.prompt();
        double typed[4];
        for (int i = 0; i < 4; ++i) {
            typed[i] = NumericPrefix(Text1(i).Text());
            if (typed[i] == 0) {
                prompt.MsgBox(PhotoZeroCoordinateText);
                return;
            }
        }
        const auto& picks = photo.PhotoCornerPicks;
        const double pa = picks[0], qa = picks[1], pb = picks[3], qb = picks[4];
        // Asked before the picture is looked for: picks in one place find no picture either.
        if (pb == pa || qb == qa) {
            prompt.MsgBox(PhotoCheckPicksText);
            return;
        }
        MapRecord* image = PickedImage(app, photo);
        if (!image) {
            prompt.MsgBox(PhotoPickFailedText);
            return;
        }
        const ImageFrame current{image->RecordX1, image->RecordY1, image->RecordX2, image->RecordY2};
        const PhotoFit fit = FitPhotoToCorners(current, pa, qa, pb, qb, typed[0], typed[1], typed[2], typed[3]);
        if (!fit.refusal.empty()) {
            prompt.MsgBox(fit.refusal);
            return;
        }
        image->RecordX1 = fit.frame.X1;
        image->RecordY1 = fit.frame.Y1;
        image->RecordX2 = fit.frame.X2;
        image->RecordY2 = fit.frame.Y2;
        app.current.ModifiedFlag = -1;
        if (!app.form1) return;
        PictureBox& canvas = app.form1->Picture1;
        const double margin = AnchorMarginMm * app.view.ScaleFactor;
        canvas.SetScale(fit.frame.X1 - margin, fit.frame.Y1 + margin, canvas.ScaleWidth(), canvas.ScaleHeight());
        刷新(app);
    });
}

void xpdxFrm::Command3_Click() { Unload(); }

void xpdxFrm::Label1_Click() {
    GuardSilently([this] {
        const RecordStore& store = app.store;
        const MapRecord& r = store.Get(photo.ImageRecordLayer, photo.ImageRecordSlot);
        Label1.SetCaption("相片名：" + std::string(r.RecordText));
    });
}

void ShowPhotoOrientationWindow(App& app) {
    if (!app.photoDialog) app.photoDialog = std::make_shared<xpdxFrm>(app);
    xpdxFrm& dialog = *app.photoDialog;
    dialog.Load();
    // The photo just pricked is named at once.
    if (dialog.photo.ImageRecordLayer != 0) dialog.Label1_Click();
    dialog.Show(true);
}

}  // namespace movra
