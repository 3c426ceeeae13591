#include "symbols/SymbolMaking.h"

#include <algorithm>
#include <cstdlib>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Text.h"
#include "document/DrawingExtents.h"
#include "document/RecordTypes.h"
#include "document/RedrawSeams.h"
#include "platform/Surface.h"
#include "shell/stForm1.h"
#include "symbols/SelfMadeElements.h"
#include "symbols/ZfhFile.h"

namespace movra {

namespace {

namespace slots = Layer0Slots;

// The box is 100 x 100 canvas units: one unit is 0.1 mm of the finished symbol.
constexpr double BoxHalf = 50;
constexpr int GridLines = 99;
constexpr int EmphasisEvery = 10;
constexpr double UnitsPerMm = 10;
// The small box of the preview lies below and right of the grid; its centre is the symbol's.
constexpr double PreviewOffset = 55;
constexpr double PreviewBoxSize = 10;
// The magnified view is the canvas width in twips over this.
constexpr double MagnifyDivisor = 50;
constexpr int DrawingPenWidth = 10;
// The last drawing slot a record may keep: the drawing stays clear of its own copy from 900.
constexpr int LastKeptDrawingSlot = 895;
// Two colours closer than this in every channel look alike on the grid.
constexpr int LookAlikeChannelDistance = 64;

stForm1& Form(App& app) { return *app.form1; }
Surface& Canvas(App& app) { return app.form1->Picture1.surface(); }

// Empty slots of the drawing and its copy carry the font "0", as the library's records do.
void ClearSlots(App& app, int first, int last) {
    for (int s = first; s <= last; ++s) {
        MapRecord& m = app.store.At(0, s);
        ClearSymbolSlot(m);
        m.RecordFont = "0";
    }
}

bool LookAlike(Rgb a, Rgb b) {
    for (int shift = 0; shift <= 16; shift += 8) {
        const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
        if (std::abs(ca - cb) >= LookAlikeChannelDistance) return false;
    }
    return true;
}

// A colour derived from `base` by adding 255 that stays apart from the plain grid colour: when
// the sum looks like the grid, the grid colour's contrast is taken instead.
Rgb GuideColor(Rgb base, Rgb grid) {
    const Rgb derived = PackedColorSum(base, 255);
    return LookAlike(derived, grid) ? ContrastColor(grid) : derived;
}

// The grid of the 10 mm box about (cx, cy): 99 lines each way without the edges, every tenth
// (1 mm apart) wider and emphasised, the two axes and the small preview box in the guide colour.
void DrawSymbolGrid(App& app, double cx, double cy) {
    Surface& canvas = Canvas(app);
    const int mode = canvas.DrawMode();
    canvas.SetDrawMode(DrawModeCopyPen);
    const Rgb plain = app.current.CurrentColor;
    const Rgb emphasised = GuideColor(plain, plain);
    const Rgb guide = GuideColor(app.view.BackgroundColor, plain);
    for (int k = 1; k <= GridLines; ++k) {
        const bool tenth = k % EmphasisEvery == 0;
        const Rgb color = tenth ? emphasised : plain;
        canvas.SetDrawWidth(tenth ? 2 : 1);
        canvas.Line(cx - BoxHalf, cy + BoxHalf - k, cx + BoxHalf, cy + BoxHalf - k, color);
        canvas.Line(cx - BoxHalf + k, cy + BoxHalf, cx - BoxHalf + k, cy - BoxHalf, color);
    }
    canvas.SetDrawWidth(1);
    canvas.Line(cx + BoxHalf, cy - BoxHalf, cx + BoxHalf + PreviewBoxSize, cy - BoxHalf - PreviewBoxSize, guide,
                LineShape::Box);
    canvas.Line(cx - BoxHalf, cy, cx + BoxHalf, cy, guide);
    canvas.Line(cx, cy + BoxHalf, cx, cy - BoxHalf, guide);
    canvas.SetDrawStyle(DrawStyleSolid);
    canvas.SetDrawMode(mode);
}

void RestoreDrawingState(App& app) {
    RecordStore& store = app.store;
    app.tool.SymbolMakingMode = 0;
    store.CurrentLayer = std::min(app.selfMade.SymbolMakingSavedLayer, store.LayerCount);
    store.Count(0) = app.selfMade.Layer0SavedCount;
}

void EnterSymbolMaking(App& app) {
    bool switched = false;
    try {
        PictureBox& picture = Form(app).Picture1;
        Surface& canvas = picture.surface();
        const double w = picture.Width() / MagnifyDivisor;
        const double h = CanvasAspect(app) * w;
        if (!(w > 0) || !(h > 0)) Raise(ErrDivisionByZero);
        const double cx = picture.ScaleLeft() + picture.ScaleWidth() / 2;
        const double cy = picture.ScaleTop() + picture.ScaleHeight() / 2;
        picture.SetScale(cx - w / 2, cy + h / 2, w, -h);
        RedrawSeam(app);
        DrawSymbolGrid(app, cx, cy);

        RecordStore& store = app.store;
        SelfMadeLibrary& lib = app.selfMade;
        lib.SymbolMakingSavedLayer = store.CurrentLayer;
        lib.Layer0SavedCount = store.Count(0);
        lib.SymbolBoxCentreX = cx;
        lib.SymbolBoxCentreY = cy;
        app.tool.SymbolMakingMode = -1;
        switched = true;
        store.CurrentLayer = 0;
        store.Count(0) = slots::SymbolDrawingFirst;
        canvas.SetDrawWidth(DrawingPenWidth);
        Form(app).ImageCombo1.SetEnabled(false);
        ClearSlots(app, slots::SymbolDrawingFirst, slots::SymbolCopyLast);
        Form(app).Text2.SetText("制作符号，统宽高10mm*10mm,越界有效。");
        Form(app).Text4_Click();
    } catch (...) {
        if (switched) GuardSilently([&app] { RestoreDrawingState(app); });
    }
}

void LeaveSymbolMaking(App& app) {
    try {
        Form(app).Text2.SetText("返回正常模式，名称如“#hd”表示旱地，<=2个汉字");
        Prompt& prompt = app.platform.prompt();
        const int answer = prompt.MsgBox("返回正常模式，要保存制好的符号吗？", MsgYesNoCancel, "返回正常制图模式");
        if (answer == AnswerCancel) return;
        if (answer == AnswerYes) {
            const std::string name = Trim(prompt.InputBox("请输入好记的符号名称如“#hd”表示旱地"));
            // Without a name the symbol could not be found again: nothing is saved and the
            // drawing stays open.
            if (name.empty() || name == "#") return;
            // A symbol the library did not take stays on the canvas, to be saved again.
            if (!SaveSymbolToLibrary(app, name)) return;
            RestoreDrawingState(app);
            LoadSelfMadeSymbols(app);
        } else {
            RestoreDrawingState(app);
        }
        Canvas(app).SetDrawWidth(1);
        Form(app).ImageCombo1.SetEnabled(true);
        RedrawSeam(app);
        Form(app).Text4_Click();
    } catch (...) {
        GuardSilently([&app] { RestoreDrawingState(app); });
    }
}

}  // namespace

void ToggleSymbolMakingMode(App& app) {
    if (!app.form1) return;
    if (app.tool.SymbolMakingMode == 0)
        EnterSymbolMaking(app);
    else
        LeaveSymbolMaking(app);
}

void NormalizeDrawnSymbol(App& app) {
    if (!app.form1 || app.tool.SymbolMakingMode != -1) return;
    GuardSilently([&app] {
        RecordStore& store = app.store;
        Surface& canvas = Canvas(app);
        const double cx = app.selfMade.SymbolBoxCentreX, cy = app.selfMade.SymbolBoxCentreY;
        canvas.SetDrawWidth(1);
        // Records beyond the last kept slot are taken back, so that the drawing never runs into
        // its copy nor overwrites its own records.
        if (store.Count(0) > LastKeptDrawingSlot + 1) {
            ClearSlots(app, LastKeptDrawingSlot + 1, std::min(store.Count(0) - 1, slots::SymbolDrawingLast));
            store.Count(0) = LastKeptDrawingSlot + 1;
            Form(app).Text2.SetText("自制符号最多96个图元，多画的已撤回");
        }
        // The copy is rebuilt whole: a stroke deleted since the last time leaves nothing behind, and
        // the copy stays gapless, as the library's writer stops at the first empty slot.
        ClearSlots(app, slots::SymbolCopyFirst, slots::SymbolCopyLast);
        const int mode = canvas.DrawMode();
        canvas.SetDrawMode(DrawModeCopyPen);
        int copy = slots::SymbolCopyFirst;
        for (int s = slots::SymbolDrawingFirst; s <= slots::SymbolDrawingLast; ++s) {
            const MapRecord& drawn = store.Get(0, s);
            const int type = drawn.RecordType;
            if (!IsSymbolElementType(type)) continue;
            MapRecord& target = store.At(0, copy++);
            PlaceSymbolElement(drawn, target, {.shiftX = cx, .shiftY = cy, .divisor = UnitsPerMm});
            if (type == TypeCircle || type == TypeArc) target.RecordColor = drawn.RecordColor;
            // Shown in the stroke's own colour: the copy's colour 0 of the lines would be black on
            // the black canvas.
            DrawSymbolElement(canvas, target, {.originX = cx + PreviewOffset, .originY = cy - PreviewOffset},
                              drawn.RecordColor);
        }
        canvas.SetDrawMode(mode);
        canvas.SetDrawWidth(DrawingPenWidth);
    });
}

}  // namespace movra
